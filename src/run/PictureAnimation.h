#pragma once

#include <QDir>
#include <QString>

namespace dye {

struct Picture;
struct StationState;

// One tick of the main screen's picture timer (Timer6, 100 ms): advances the
// frame counters of AnimationState by the pictures' modes and points Picture2
// and Picture1 at the bitmaps in the working directory's pic1 folder.
//
// Picture2 (entries 0, 1): mode 0 still 001, 1 forward 001..039, 2 backward
// 039..001, 3 still 039. Picture1 (entries 2, 3): mode 0 still a001, 1 a001..a045,
// 2 b001..b050, 3 c001..c020, 4 still a045. Another mode leaves the picture as it
// is. A counter that leaves its series' range wraps to the series' first frame
// (the last when running backward), so a mode change never names a frame that
// does not exist. Bitmaps are looked up on every tick; one that is missing or
// unreadable leaves its picture as it was.
class PictureAnimation {
  public:
    PictureAnimation(StationState& state, QDir workdir);

    void tick();

    // The three-digit frame numbers last shown ("" before any).
    const QString& picture2Frame() const { return picture2Frame_; }
    const QString& picture1Frame() const { return picture1Frame_; }

  private:
    void advancePicture2();
    void advancePicture1();
    // Shows pic1/<prefix><frame>.bmp when it can be read; false when it cannot.
    bool show(Picture& picture, const QString& prefix, int frame, QString& formatted);

    StationState& state_;
    QDir workdir_;
    QString picture2Frame_;
    QString picture1Frame_;
};

}  // namespace dye
