#pragma once

#include <QDir>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

namespace dye {

class Scheduler;
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
// does not exist. A bitmap that is missing or unreadable leaves its picture
// as it was.
//
// With a scheduler, the bitmaps a pass of it asks for are looked up when the
// pass ends, before anything outside the pass can see the pictures: the last
// one alone when it can be read (it is what the picture shows after the
// pass whatever came before it), every one in turn when it cannot. Without
// one, or outside a pass, each tick looks its bitmap up at once. A tick that
// asks for what its picture shows already needs no look at all.
class PictureAnimation {
  public:
    PictureAnimation(StationState& state, QDir workdir, Scheduler* scheduler = nullptr);

    void tick();

    // The three-digit frame numbers last shown ("" before any).
    const QString& picture2Frame() const { return picture2Frame_; }
    const QString& picture1Frame() const { return picture1Frame_; }

  private:
    // The names of one bitmap: the path it is looked up by and the clean
    // absolute path a picture shows.
    struct FrameFile {
        QString formatted;  // the three-digit frame number
        QString lookup;
        QString shown;
    };
    // One tick's request: show this bitmap (and this number) when it can be read.
    struct Request {
        QString lookup;
        QString shown;
        QString number;
        bool hasNumber = false;
    };

    void advancePicture2();
    void advancePicture1();
    // Asks for pic1/<prefix><frame>.bmp on `picture` (and then `number`).
    // `series` is kTransport for Picture2's bitmaps, or the letter of Picture1's.
    void show(Picture& picture, std::vector<Request>& pending, char series, int frame,
              QString& formatted, const QString* number = nullptr);
    // One tick's step: the request's bitmap when it can be read.
    static void apply(Picture& picture, const Request& r);
    static bool shows(const Picture& picture, const Request& r);
    // The end of a pass: the pictures as the pass's ticks one by one leave them.
    void settle();
    static void settle(Picture& picture, std::vector<Request>& pending);
    // The names of a frame, made once for the working directory's absolute path.
    const FrameFile& frameFile(char series, int frame);
    static constexpr char kTransport = '\0';

    StationState& state_;
    QDir workdir_;
    Scheduler* scheduler_;
    QString picture2Frame_;
    QString picture1Frame_;
    QString namesFor_;                            // the absolute path the names below were made for
    std::array<QHash<int, FrameFile>, 4> names_;  // transport, a, b, c
    std::vector<Request> pending2_;
    std::vector<Request> pending1_;
};

}  // namespace dye
