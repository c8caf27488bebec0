// Flat drawings of the machine on a light background. Nothing is written as
// text, so drawing needs neither fonts nor a GUI application.
#include "MachinePictures.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace dye::share {
namespace {

const QColor kBackground(244, 246, 248);
const QColor kFloor(214, 219, 226);
const QColor kSteel(128, 140, 154);
const QColor kDarkSteel(62, 72, 86);
const QColor kBucket(228, 233, 239);
const QColor kBucketLine(74, 85, 99);
const QColor kPlate(44, 56, 78);
const QColor kDye(176, 58, 122);
const QColor kWater(74, 163, 227);
const QColor kRinseStart(214, 150, 186);
const QColor kLampOn(60, 170, 90);
const QColor kLampOff(170, 176, 184);
const QColor kStartMark(60, 170, 90);
const QColor kHeadMark(235, 150, 40);

constexpr double kFloorY = 172;

// A tapered pail standing with its bottom centre at a point.
struct Bucket {
    QPointF base;
    double height;
    double topWidth;
    double bottomWidth;

    double top() const { return base.y() - height; }
    double surface(double level) const { return base.y() - height * std::clamp(level, 0.0, 1.0); }
    QPainterPath body() const {
        QPainterPath path;
        path.moveTo(base.x() - bottomWidth / 2, base.y());
        path.lineTo(base.x() + bottomWidth / 2, base.y());
        path.lineTo(base.x() + topWidth / 2, top());
        path.lineTo(base.x() - topWidth / 2, top());
        path.closeSubpath();
        return path;
    }
};

QColor mix(const QColor& from, const QColor& to, double t) {
    auto channel = [t](int a, int b) { return int(a + (b - a) * t + 0.5); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

// A blank frame: background, floor, anti-aliasing on; `scene` draws the rest.
template <typename Scene>
QImage paint(Scene scene) {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, kFloorY, kPictureWidth, kPictureHeight - kFloorY), kFloor);
    scene(p);
    p.end();
    return image;
}

// The bucket filled to `level` (0..1 of its height), with its rim and handle.
void drawBucket(QPainter& p, const Bucket& b, double level, const QColor& liquid) {
    const QPainterPath body = b.body();
    p.setPen(Qt::NoPen);
    p.setBrush(kBucket);
    p.drawPath(body);
    if (level > 0) {
        p.save();
        p.setClipPath(body);
        const double surface = b.surface(level);
        const QRectF full(b.base.x() - b.topWidth, surface, 2 * b.topWidth, b.base.y() - surface);
        p.fillRect(full, liquid);
        p.fillRect(QRectF(full.left(), surface, full.width(), 2), liquid.lighter(125));
        p.restore();
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBucketLine, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
    const double half = b.topWidth / 2;
    p.drawLine(QPointF(b.base.x() - half - 2, b.top()), QPointF(b.base.x() + half + 2, b.top()));
    p.setPen(QPen(kBucketLine, 1.5));
    const double rise = b.topWidth * 0.18;
    p.drawArc(QRectF(b.base.x() - half + 4, b.top() - rise, b.topWidth - 8, 2 * rise), 0, 180 * 16);
}

// A falling stream from `top` to `bottom`; light streaks run down it with `phase`.
void drawStream(QPainter& p, double x, double top, double bottom, double width,
                const QColor& colour, int phase) {
    if (bottom <= top) return;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(x - width / 2, top, width, bottom - top), width / 3, width / 3);
    p.setBrush(colour.lighter(140));
    for (double y = top + phase % 12; y + 4 < bottom; y += 12)
        p.drawRect(QRectF(x - width / 4, y, width / 2, 4));
}

// Rings spreading on the surface where a stream lands.
void drawSplash(QPainter& p, double x, double surface, const QColor& colour, int phase) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.lighter(135), 1.5));
    const double r = 6 + (phase % 3) * 4;
    p.drawEllipse(QPointF(x, surface + 1), r, 2);
}

void drawLamp(QPainter& p, QPointF at, bool on) {
    p.setPen(QPen(kDarkSteel, 1));
    p.setBrush(on ? kLampOn : kLampOff);
    p.drawEllipse(at, 4, 4);
}

// ---- Bucket transport: the bucket rides the conveyor from its start place to
// the dispensing head at the right end of the gantry beam.

constexpr double kStartX = 44;
constexpr double kHeadX = 196;
constexpr double kBeltTop = 150;
constexpr int kTransportFrames = 39;

void drawGantry(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    p.drawRect(QRectF(6, 10, 8, kFloorY - 10));
    p.drawRect(QRectF(226, 10, 8, kFloorY - 10));
    p.setBrush(kDarkSteel);
    p.drawRoundedRect(QRectF(2, 8, 236, 12), 3, 3);

    // The dispensing head with its row of valves.
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(kHeadX - 22, 20, 44, 26), 3, 3);
    p.setBrush(kDarkSteel);
    p.drawRoundedRect(QRectF(kHeadX - 24, 44, 48, 8), 2, 2);
    for (double dx : {-15.0, -5.0, 5.0, 15.0}) p.drawRect(QRectF(kHeadX + dx - 2, 52, 4, 8));

    // The place plate hanging from the beam; the station prints the place number on it.
    p.setPen(QPen(kSteel, 2));
    p.drawLine(QPointF(90, 20), QPointF(90, 56));
    p.drawLine(QPointF(122, 20), QPointF(122, 56));
    p.setPen(Qt::NoPen);
    p.setBrush(kPlate);
    p.drawRoundedRect(QRectF(80, 56, 52, 40), 5, 5);
}

void drawConveyor(QPainter& p, int frame) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    for (double x : {36.0, 204.0})
        p.drawRect(QRectF(x - 3, kBeltTop + 10, 6, kFloorY - kBeltTop - 10));
    p.setBrush(kDarkSteel);
    p.drawRoundedRect(QRectF(18, kBeltTop, 204, 12), 6, 6);

    // Rollers turn and the belt's marks travel 4 pixels a frame, as the bucket does.
    const double turn = frame * 30.0;
    for (int i = 0; i < 12; ++i) {
        const QPointF centre(26 + i * 17.0, kBeltTop + 6);
        p.setPen(Qt::NoPen);
        p.setBrush(kSteel);
        p.drawEllipse(centre, 4, 4);
        p.setPen(QPen(kBackground, 1.2));
        QLineF spoke = QLineF::fromPolar(3.5, turn);
        p.drawLine(centre - spoke.p2(), centre + spoke.p2());
    }
    p.setPen(QPen(kSteel.lighter(130), 1.5));
    for (double x = 22 + (frame * 4) % 16; x < 218; x += 16)
        p.drawLine(QPointF(x, kBeltTop + 1), QPointF(x + 5, kBeltTop + 1));

    // Floor marks of the two places.
    p.setPen(Qt::NoPen);
    p.setBrush(kStartMark);
    p.drawRect(QRectF(kStartX - 8, kFloorY + 2, 16, 4));
    p.setBrush(kHeadMark);
    p.drawRect(QRectF(kHeadX - 8, kFloorY + 2, 16, 4));
}

QImage transportFrame(int frame) {
    return paint([frame](QPainter& p) {
        drawGantry(p);
        drawConveyor(p, frame);
        const double x = kStartX + (kHeadX - kStartX) * (frame - 1) / (kTransportFrames - 1);
        drawBucket(p, Bucket{{x, kBeltTop}, 44, 44, 36}, 0, kWater);
    });
}

// ---- Bucket close-up on the balance: dispensing, washing, water filling.

const Bucket kScaleBucket{{120, 150}, 70, 76, 60};
constexpr double kOutlet = 46;  // lower end of the valve and wash head nozzles

void drawManifold(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkSteel);
    p.drawRoundedRect(QRectF(60, 6, 120, 14), 4, 4);
}

void drawBalance(QPainter& p, double load) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(64, 150, 112, 7), 2, 2);
    p.setBrush(kDarkSteel);
    p.drawRoundedRect(QRectF(74, 157, 92, 15), 3, 3);
    p.setBrush(QColor(22, 30, 38));
    p.drawRect(QRectF(132, 160, 28, 9));
    p.setBrush(kLampOn);
    p.drawRect(QRectF(134, 162, 24 * std::clamp(load, 0.0, 1.0), 5));
}

QImage dispenseFrame(int frame) {
    constexpr int kFrames = 45;
    constexpr int kStreamEnds = 42;  // the valve closes; the last of the stream falls
    return paint([frame](QPainter& p) {
        const double level = 0.06 + 0.7 * (frame - 1) / (kFrames - 1);
        const bool open = frame <= kStreamEnds;
        drawManifold(p);
        p.setBrush(kSteel);
        p.drawRoundedRect(QRectF(112, 20, 16, 16), 2, 2);
        p.setBrush(kDarkSteel);
        p.drawRect(QRectF(117, 36, 6, kOutlet - 36));
        drawLamp(p, {138, 28}, open);

        drawBalance(p, level);
        drawBucket(p, kScaleBucket, level, kDye);
        const double surface = kScaleBucket.surface(level);
        const double streamTop = open ? kOutlet : kOutlet + (frame - kStreamEnds) * 20;
        drawStream(p, 120, streamTop, surface, 4, kDye, frame * 4);
        if (streamTop < surface) drawSplash(p, 120, surface, kDye, frame);
    });
}

QImage washFrame(int frame) {
    constexpr int kFrames = 50;
    constexpr int kSprayEnds = 30;  // then the drain opens and the rinse water runs off
    return paint([frame](QPainter& p) {
        const bool spraying = frame <= kSprayEnds;
        const double level = spraying ? 0.02 + 0.25 * frame / kSprayEnds
                                      : 0.27 - 0.25 * (frame - kSprayEnds) / (kFrames - kSprayEnds);
        const QColor rinse = mix(kRinseStart, kWater.lighter(120), double(frame) / kFrames);
        drawManifold(p);
        p.setPen(Qt::NoPen);
        p.setBrush(kSteel);
        p.drawRoundedRect(QRectF(110, 20, 20, 16), 2, 2);
        p.setBrush(kDarkSteel);
        p.drawEllipse(QPointF(120, kOutlet - 4), 6, 6);
        drawLamp(p, {138, 28}, spraying);

        // Drain pipe from the bucket's foot to the tray beside the balance.
        p.setPen(QPen(kDarkSteel, 5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(148, 141), QPointF(188, 141));
        drawLamp(p, {172, 141}, !spraying);
        p.setPen(Qt::NoPen);
        p.setBrush(kSteel);
        p.drawRoundedRect(QRectF(178, 164, 22, 8), 2, 2);

        drawBalance(p, level / 0.8);
        drawBucket(p, kScaleBucket, level, rinse);
        if (spraying) {
            // Jets fan out from the turning head to the bucket's walls.
            QPen jet(kWater, 2, Qt::CustomDashLine, Qt::RoundCap);
            jet.setDashPattern({2, 2});
            jet.setDashOffset(-frame);
            p.setPen(jet);
            const double sway = (frame % 3) * 5;
            for (double side : {-1.0, 1.0})
                for (double y : {96.0, 116.0, 136.0})
                    p.drawLine(QPointF(120, kOutlet - 4), QPointF(120 + side * 30, y + sway - 5));
            p.drawLine(QPointF(120, kOutlet - 4), QPointF(120, kScaleBucket.surface(level)));
        } else {
            drawStream(p, 190, 143, 166, 3, rinse, frame * 4);
        }
    });
}

QImage fillFrame(int frame) {
    constexpr int kFrames = 20;
    return paint([frame](QPainter& p) {
        const double level = 0.06 + 0.5 * (frame - 1) / (kFrames - 1);
        drawManifold(p);
        // Water pipe from the supply on the left, turning down over the bucket.
        p.setPen(QPen(kSteel, 8, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath pipe;
        pipe.moveTo(0, 30);
        pipe.lineTo(120, 30);
        pipe.lineTo(120, kOutlet);
        p.drawPath(pipe);
        p.setPen(QPen(kDarkSteel, 1.5));
        p.setBrush(kWater);
        p.drawEllipse(QPointF(70, 30), 7, 7);
        p.setPen(QPen(kDarkSteel, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(70, 23), QPointF(70, 14));
        drawLamp(p, {138, 30}, true);

        drawBalance(p, level);
        drawBucket(p, kScaleBucket, level, kWater);
        const double surface = kScaleBucket.surface(level);
        drawStream(p, 120, kOutlet, surface, 8, kWater, frame * 4);
        drawSplash(p, 120, surface, kWater, frame);
    });
}

}  // namespace

QList<PictureSeries> machinePictureSeries() {
    return {
        {QString(), kTransportFrames, transportFrame},
        {QStringLiteral("a"), 45, dispenseFrame},
        {QStringLiteral("b"), 50, washFrame},
        {QStringLiteral("c"), 20, fillFrame},
    };
}

}  // namespace dye::share
