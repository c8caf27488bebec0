#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <functional>

namespace dye::share {

// The frames of the main screen's two machine pictures. Each series is drawn
// frame by frame (1..frames) and saved as prefix + three-digit frame + ".bmp".
struct PictureSeries {
    QString prefix;  // "" for the bucket transport, "a", "b", "c" for the bucket close-up
    int frames;
    std::function<QImage(int frame)> draw;
};

constexpr int kPictureWidth = 240;
constexpr int kPictureHeight = 180;

// The bucket transport (39 frames: start place to under the dispensing head),
// dispensing (45), washing (50) and water filling (20).
QList<PictureSeries> machinePictureSeries();

}  // namespace dye::share
