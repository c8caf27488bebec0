// The learned water figures on the disk: robust to outliers, following a
// changed pipe, kept over a restart, and a torn file set aside.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "run/WaterLearning.h"

namespace dye::test {
namespace {

struct Learned {
    QTemporaryDir dir;
    QStringList log;
    WaterLearning open() {
        return WaterLearning(QDir(dir.path()), [this](const QString& t) { log << t; });
    }
};

TEST(WaterLearning, AnOutlierIsLeftOutAndAChangedPipeIsFollowed) {
    Learned l;
    WaterLearning w = l.open();
    for (double s : {2480.0, 2510.0, 2490.0, 2500.0}) w.learnRunOn(985, s);
    EXPECT_NEAR(*w.pipe(985).runOn, 2495, 10);
    w.learnRunOn(985, 9000);  // a disturbed reading
    EXPECT_NEAR(*w.pipe(985).runOn, 2495, 10);
    EXPECT_EQ(l.log.filter("D985 run-on 9000 left out").size(), 1);
    // The pipe runs on 600 more from now on: followed after three in a row.
    for (int k = 0; k < 6; ++k) w.learnRunOn(985, 3100);
    EXPECT_NEAR(*w.pipe(985).runOn, 3100, 30);
    EXPECT_FALSE(w.pipe(851).runOn);  // the other pipe learned nothing
}

TEST(WaterLearning, TheFiguresSurviveARestartAndATornFileIsSetAside) {
    Learned l;
    {
        WaterLearning w = l.open();
        w.learnRate(985, 498.5);
        w.learnRunOn(985, 2460);
        w.learnRate(851, 510);
    }
    WaterLearning again = l.open();  // a new start reads the file
    EXPECT_DOUBLE_EQ(*again.pipe(985).rate, 498.5);
    EXPECT_DOUBLE_EQ(*again.pipe(985).runOn, 2460);
    EXPECT_DOUBLE_EQ(*again.pipe(851).rate, 510);
    EXPECT_FALSE(again.pipe(851).runOn);

    // A file cut short by a power cut is not read in part.
    const QString path = WaterLearning::path(QDir(l.dir.path()));
    const QByteArray torn = fileBytes(path).left(30);
    ASSERT_TRUE(QFile::resize(path, 30));
    EXPECT_FALSE(l.open().pipe(985).rate);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(fileBytes(WaterLearning::rejectedPath(QDir(l.dir.path()))), torn);
    EXPECT_EQ(l.log.filter("WATER_LEARNED.txt is not a whole file").size(), 1);
    // Learning starts again from nothing.
    WaterLearning fresh = l.open();
    fresh.learnRunOn(985, 2500);
    EXPECT_DOUBLE_EQ(*l.open().pipe(985).runOn, 2500);
}

}  // namespace
}  // namespace dye::test
