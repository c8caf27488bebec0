#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "run/PictureAnimation.h"
#include "station/StationState.h"

using namespace dye;

namespace {

// The pictures move while the machine works (transport forward or backward;
// dispensing, washing or filling water) and stand still when it is idle.
// The shipped bitmaps are used, so a missing series shows here as a still.
TEST(PictureAnimation, PicturesMoveWhileTheMachineWorksAndStandStillWhenIdle) {
    const struct {
        qint16 transportMode, bucketMode;
        bool moves;
    } cases[] = {{1, 1, true}, {2, 2, true}, {1, 3, true}, {0, 0, false}, {3, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.transportMode << "/" << c.bucketMode);
        StationState state;
        state.AnimationState[0] = c.transportMode;
        state.AnimationState[2] = c.bucketMode;
        PictureAnimation animation(state, QDir(QStringLiteral(DYE_BINARY_DIR "/share")));
        QSet<QString> transport, bucket;
        for (int i = 0; i < 3; ++i) {
            animation.tick();
            ASSERT_TRUE(QFileInfo(state.form3.Picture2.file).isFile());
            ASSERT_TRUE(QFileInfo(state.form3.Picture1.file).isFile());
            transport << state.form3.Picture2.file;
            bucket << state.form3.Picture1.file;
        }
        EXPECT_EQ(transport.size(), c.moves ? 3 : 1);
        EXPECT_EQ(bucket.size(), c.moves ? 3 : 1);
    }
}

}  // namespace
