#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "core/Scheduler.h"
#include "run/PictureAnimation.h"
#include "station/StationState.h"

#include <ostream>

using namespace dye;

// Readable failures: QString and QStringList print as text.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

struct Series {
    const char* prefix;
    int frames;
};
constexpr Series kSeries[] = {{"", 39}, {"a", 45}, {"b", 50}, {"c", 20}};

QString frameName(const QString& prefix, int frame) {
    return QStringLiteral("%1%2.bmp").arg(prefix).arg(frame, 3, 10, QLatin1Char('0'));
}

// A working directory whose pic1 folder holds every frame as an empty file.
class PictureAnimationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("pic1")));
        for (const Series& s : kSeries)
            for (int f = 1; f <= s.frames; ++f) {
                QFile file(pic(frameName(QString::fromLatin1(s.prefix), f)));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            }
    }

    QString pic(const QString& name) const { return dir.filePath(QStringLiteral("pic1/") + name); }

    void tick() { PictureAnimation(state, QDir(dir.path())).tick(); }

    // The bitmaps a picture shows over `ticks` ticks.
    QStringList run(const Picture& picture, int ticks) {
        QStringList shown;
        for (int i = 0; i < ticks; ++i) {
            tick();
            shown << QFileInfo(picture.file).fileName();
        }
        return shown;
    }

    QTemporaryDir dir;
    StationState state;
    auto& mode2() { return state.AnimationState[0]; }
    auto& frame2() { return state.AnimationState[1]; }
    auto& mode1() { return state.AnimationState[2]; }
    auto& frame1() { return state.AnimationState[3]; }
};

QStringList names(const QString& prefix, std::initializer_list<int> frames) {
    QStringList list;
    for (int f : frames) list << frameName(prefix, f);
    return list;
}

TEST_F(PictureAnimationTest, TransportRunsForwardAndBackwardWithItsWraps) {
    mode2() = 1;
    frame2() = 37;
    state.PicturePlace = 12;
    EXPECT_EQ(run(state.form3.Picture2, 4), names({}, {38, 39, 1, 2}));
    EXPECT_EQ(state.form3.Picture2.file,
              QFileInfo(pic(QStringLiteral("002.bmp"))).absoluteFilePath());
    EXPECT_EQ(state.form3.Picture2.number, QStringLiteral("12"));

    // Backward from a counter never started: 039 comes first, and 001 wraps to 039.
    mode2() = 2;
    frame2() = 0;
    EXPECT_EQ(run(state.form3.Picture2, 2), names({}, {39, 38}));
    EXPECT_EQ(state.form3.Picture2.number, QStringLiteral("1"));
    frame2() = 2;
    EXPECT_EQ(run(state.form3.Picture2, 2), names({}, {1, 39}));

    // A counter beyond the series wraps to a frame that exists, either way.
    mode2() = 1;
    frame2() = 120;
    EXPECT_EQ(run(state.form3.Picture2, 1), names({}, {1}));
    mode2() = 2;
    frame2() = 120;
    EXPECT_EQ(run(state.form3.Picture2, 1), names({}, {39}));
}

TEST_F(PictureAnimationTest, StillsShowTheirFrameAndTheirNumberAndKeepTheCounter) {
    state.PicturePlace = 7;
    frame2() = 20;
    frame1() = 30;
    const struct {
        qint16 mode2, mode1;
        const char *file2, *number2, *file1;
    } stills[] = {{0, 0, "001.bmp", "0", "a001.bmp"}, {3, 4, "039.bmp", "7", "a045.bmp"}};
    for (const auto& s : stills) {
        mode2() = s.mode2;
        mode1() = s.mode1;
        PictureAnimation animation(state, QDir(dir.path()));
        animation.tick();
        EXPECT_EQ(animation.picture2Frame(), QLatin1String(s.file2).chopped(4));
        EXPECT_EQ(QFileInfo(state.form3.Picture2.file).fileName(), QLatin1String(s.file2));
        EXPECT_EQ(state.form3.Picture2.number, QLatin1String(s.number2));
        EXPECT_EQ(QFileInfo(state.form3.Picture1.file).fileName(), QLatin1String(s.file1));
    }
    EXPECT_EQ(frame2(), 20);
    EXPECT_EQ(frame1(), 30);
}

TEST_F(PictureAnimationTest, BucketSeriesWrapAtTheirLastFrame) {
    for (int mode = 1; mode <= 3; ++mode) {
        const Series s = kSeries[mode];
        SCOPED_TRACE(s.prefix);
        mode1() = qint16(mode);
        frame1() = qint16(s.frames - 1);
        EXPECT_EQ(run(state.form3.Picture1, 3), names(s.prefix, {s.frames, 1, 2}));
    }
}

TEST_F(PictureAnimationTest, ChangingTheBucketModeKeepsOrWrapsTheCounter) {
    // Dispensing to washing: the b series takes over where the a series stopped.
    mode1() = 1;
    frame1() = 0;
    EXPECT_EQ(run(state.form3.Picture1, 30).constLast(), QStringLiteral("a030.bmp"));
    mode1() = 2;
    EXPECT_EQ(run(state.form3.Picture1, 2), names(QStringLiteral("b"), {31, 32}));

    // Washing at frame 40 to water filling: the c series has 20 frames.
    frame1() = 40;
    mode1() = 3;
    EXPECT_EQ(run(state.form3.Picture1, 2), names(QStringLiteral("c"), {1, 2}));
}

TEST_F(PictureAnimationTest, MissingBitmapOrUnknownModeLeavesThePicture) {
    mode2() = 1;
    mode1() = 2;
    state.PicturePlace = 5;
    tick();
    const Picture shown2 = state.form3.Picture2;
    const Picture shown1 = state.form3.Picture1;
    ASSERT_TRUE(QFile::remove(pic(QStringLiteral("002.bmp"))));
    ASSERT_TRUE(QFile::remove(pic(QStringLiteral("b002.bmp"))));
    state.PicturePlace = 6;
    tick();
    EXPECT_EQ(state.form3.Picture2.file, shown2.file);
    EXPECT_EQ(state.form3.Picture2.number, QStringLiteral("5"));
    EXPECT_EQ(state.form3.Picture1.file, shown1.file);
    // The counters go on; the next bitmap is read again from disk.
    EXPECT_EQ(run(state.form3.Picture1, 1), names(QStringLiteral("b"), {3}));
    EXPECT_EQ(state.form3.Picture2.number, QStringLiteral("6"));

    mode2() = 4;
    mode1() = -1;
    const Picture before = state.form3.Picture1;
    tick();
    EXPECT_EQ(QFileInfo(state.form3.Picture2.file).fileName(), QStringLiteral("003.bmp"));
    EXPECT_EQ(state.form3.Picture1.file, before.file);
    EXPECT_EQ(state.form3.Label17.Caption, QStringLiteral("3--1-3-4"));
}

TEST_F(PictureAnimationTest, APassShowsTheLastBitmapOfItsTicksThatCanBeRead) {
    Scheduler scheduler;
    PictureAnimation animation(state, QDir(dir.path()), &scheduler);
    scheduler.addTimer("Timer6", 100, true, [&] { animation.tick(); });
    QStringList seen;  // what the pictures are at the end of each pass
    scheduler.setPassObserver([&] {
        seen << QFileInfo(state.form3.Picture1.file).fileName() + " " +
                    QFileInfo(state.form3.Picture2.file).fileName() + " " +
                    state.form3.Picture2.number;
    });
    mode1() = 1;
    mode2() = 1;
    state.PicturePlace = 4;
    scheduler.advance(300);  // frames 1, 2, 3 of each
    EXPECT_EQ(animation.picture1Frame(), QStringLiteral("003"));

    // The last bitmap of the pass is gone: the picture shows the last one
    // that could be read, with the number asked for with it.
    ASSERT_TRUE(QFile::remove(pic(QStringLiteral("a006.bmp"))));
    ASSERT_TRUE(QFile::remove(pic(QStringLiteral("005.bmp"))));
    ASSERT_TRUE(QFile::remove(pic(QStringLiteral("006.bmp"))));
    scheduler.addTimer("place", 250, true, [&] { state.PicturePlace = 9; });
    scheduler.advance(300);  // frames 4, 5, 6; the place changes after frame 5
    EXPECT_EQ(seen, (QStringList{"a003.bmp 003.bmp 4", "a005.bmp 004.bmp 4"}));
    EXPECT_EQ(frame1(), 6);
}

TEST(MachinePictures, EveryFrameIsADrawnBitmapOfOneSize) {
    const QDir pic1(QStringLiteral(DYE_BINARY_DIR "/share/pic1"));
    EXPECT_EQ(pic1.entryList({QStringLiteral("*.bmp")}, QDir::Files).size(), 39 + 45 + 50 + 20);
    QSize size;
    for (const Series& s : kSeries) {
        QImage previous;
        for (int f = 1; f <= s.frames; ++f) {
            const QString name = frameName(QString::fromLatin1(s.prefix), f);
            SCOPED_TRACE(name.toStdString());
            QImage image(pic1.filePath(name), "BMP");
            ASSERT_FALSE(image.isNull());
            if (size.isEmpty()) size = image.size();
            EXPECT_EQ(image.size(), size);
            // Every frame moves something; a still animation would look frozen.
            EXPECT_NE(image, previous);
            previous = image;
        }
    }
    EXPECT_EQ(size, QSize(240, 180));
}

}  // namespace
