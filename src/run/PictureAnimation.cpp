#include "PictureAnimation.h"

#include <QFileInfo>

#include <utility>

#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kTransportFrames = 39;

// The next frame of a series of `count` frames running forward.
int forward(int frame, int count) {
    const int next = frame + 1;
    return next >= 1 && next <= count ? next : 1;
}

// The next frame running backward; a counter of 0 (never started) begins at the last frame.
int backward(int frame, int count) {
    const int next = frame - 1;
    return next >= 1 && next <= count ? next : count;
}

}  // namespace

PictureAnimation::PictureAnimation(StationState& state, QDir workdir)
    : state_(state), workdir_(std::move(workdir)) {}

void PictureAnimation::tick() {
    const auto& a = state_.AnimationState;
    state_.form3.Label17.Caption =
        QStringLiteral("%1-%2-%3-%4").arg(a[3]).arg(a[2]).arg(a[1]).arg(a[0]);
    advancePicture2();
    advancePicture1();
}

void PictureAnimation::advancePicture2() {
    qint16& counter = state_.AnimationState[1];
    int frame = 0;
    QString number;
    switch (state_.AnimationState[0]) {
        case 0:
            frame = 1;
            number = QStringLiteral("0");
            break;
        case 1:
            frame = counter = qint16(forward(counter, kTransportFrames));
            number = QString::number(state_.PicturePlace);
            break;
        case 2:
            frame = counter = qint16(backward(counter, kTransportFrames));
            number = QStringLiteral("1");
            break;
        case 3:
            frame = kTransportFrames;
            number = QString::number(state_.PicturePlace);
            break;
        default:
            return;
    }
    Picture& picture = state_.form3.Picture2;
    if (show(picture, QString(), frame, picture2Frame_)) picture.number = number;
}

void PictureAnimation::advancePicture1() {
    qint16& counter = state_.AnimationState[3];
    auto run = [&counter](int count) { return counter = qint16(forward(counter, count)); };
    const QString a = QStringLiteral("a");
    Picture& picture = state_.form3.Picture1;
    switch (state_.AnimationState[2]) {
        case 0:
            show(picture, a, 1, picture1Frame_);
            break;
        case 1:
            show(picture, a, run(45), picture1Frame_);
            break;
        case 2:
            show(picture, QStringLiteral("b"), run(50), picture1Frame_);
            break;
        case 3:
            show(picture, QStringLiteral("c"), run(20), picture1Frame_);
            break;
        case 4:
            show(picture, a, 45, picture1Frame_);
            break;
        default:
            break;
    }
}

bool PictureAnimation::show(Picture& picture, const QString& prefix, int frame,
                            QString& formatted) {
    formatted = QStringLiteral("%1").arg(frame, 3, 10, QLatin1Char('0'));
    const QFileInfo file(
        workdir_.absoluteFilePath(QStringLiteral("pic1/%1%2.bmp").arg(prefix, formatted)));
    if (!file.isFile() || !file.isReadable()) return false;
    picture.file = file.absoluteFilePath();
    return true;
}

}  // namespace dye
