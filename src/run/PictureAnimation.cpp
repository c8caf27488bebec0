#include "PictureAnimation.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "core/Scheduler.h"

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

// "a3-a2-a1-a0", each in decimal as QString::number writes it, made in one go.
QString stateCaption(const std::array<qint16, 4>& a) {
    char16_t text[4 * 7];  // "-32768" and a dash, four times
    qsizetype n = 0;
    for (int i = 3; i >= 0; --i) {
        const int v = a[size_t(i)];
        unsigned rest = v < 0 ? unsigned(-v) : unsigned(v);
        char16_t digits[6];
        int k = 0;
        do {
            digits[k++] = char16_t(u'0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (v < 0) text[n++] = u'-';
        while (k > 0) text[n++] = digits[--k];
        if (i > 0) text[n++] = u'-';
    }
    return QString(reinterpret_cast<const QChar*>(text), n);
}

}  // namespace

PictureAnimation::PictureAnimation(StationState& state, QDir workdir, Scheduler* scheduler)
    : state_(state), workdir_(std::move(workdir)), scheduler_(scheduler) {}

void PictureAnimation::tick() {
    state_.form3.Label17.Caption = stateCaption(state_.AnimationState);
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
    show(state_.form3.Picture2, pending2_, kTransport, frame, picture2Frame_, &number);
}

void PictureAnimation::advancePicture1() {
    qint16& counter = state_.AnimationState[3];
    auto run = [&counter](int count) { return counter = qint16(forward(counter, count)); };
    Picture& picture = state_.form3.Picture1;
    std::vector<Request>& pending = pending1_;
    switch (state_.AnimationState[2]) {
        case 0:
            show(picture, pending, 'a', 1, picture1Frame_);
            break;
        case 1:
            show(picture, pending, 'a', run(45), picture1Frame_);
            break;
        case 2:
            show(picture, pending, 'b', run(50), picture1Frame_);
            break;
        case 3:
            show(picture, pending, 'c', run(20), picture1Frame_);
            break;
        case 4:
            show(picture, pending, 'a', 45, picture1Frame_);
            break;
        default:
            break;
    }
}

const PictureAnimation::FrameFile& PictureAnimation::frameFile(char series, int frame) {
    const QString base = workdir_.absolutePath();
    if (base != namesFor_) {
        for (auto& names : names_) names.clear();
        namesFor_ = base;
    }
    QHash<int, FrameFile>& names = names_[series == kTransport ? 0 : size_t(series - 'a' + 1)];
    auto it = names.find(frame);
    if (it == names.end()) {
        const QString prefix = series == kTransport ? QString() : QString(QLatin1Char(series));
        FrameFile f;
        f.formatted = QStringLiteral("%1").arg(frame, 3, 10, QLatin1Char('0'));
        f.lookup =
            workdir_.absoluteFilePath(QStringLiteral("pic1/%1%2.bmp").arg(prefix, f.formatted));
        f.shown = QFileInfo(f.lookup).absoluteFilePath();
        it = names.insert(frame, f);
    }
    return *it;
}

void PictureAnimation::show(Picture& picture, std::vector<Request>& pending, char series, int frame,
                            QString& formatted, const QString* number) {
    const FrameFile& f = frameFile(series, frame);
    formatted = f.formatted;
    Request r{f.lookup, f.shown, number ? *number : QString(), number != nullptr};
    if (!scheduler_ || !scheduler_->inPass()) {
        apply(picture, r);
        return;
    }
    if (pending1_.empty() && pending2_.empty()) scheduler_->atPassEnd([this] { settle(); });
    pending.push_back(std::move(r));
}

bool PictureAnimation::shows(const Picture& picture, const Request& r) {
    return picture.file == r.shown && (!r.hasNumber || picture.number == r.number);
}

namespace {

bool readable(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isReadable();
}

}  // namespace

void PictureAnimation::apply(Picture& picture, const Request& r) {
    // The picture shows this bitmap (with this number) already: whether or
    // not it can be read now, the picture stays as it is.
    if (shows(picture, r) || !readable(r.lookup)) return;
    picture.file = r.shown;
    if (r.hasNumber) picture.number = r.number;
}

void PictureAnimation::settle() {
    settle(state_.form3.Picture2, pending2_);
    settle(state_.form3.Picture1, pending1_);
}

void PictureAnimation::settle(Picture& picture, std::vector<Request>& pending) {
    if (pending.empty()) return;
    // Ticks that all ask for what the picture shows leave it as it is.
    const bool unchanged = std::all_of(pending.begin(), pending.end(),
                                       [&](const Request& r) { return shows(picture, r); });
    if (!unchanged) {
        const Request& last = pending.back();
        if (readable(last.lookup)) {
            picture.file = last.shown;
            if (last.hasNumber) picture.number = last.number;
        } else {
            for (const Request& r : pending) apply(picture, r);
        }
    }
    pending.clear();
}

}  // namespace dye
