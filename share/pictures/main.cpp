// dyepictures OUTDIR: draws the machine pictures into OUTDIR (the station's pic1 folder).
#include <QDir>
#include <QTextStream>

#include "MachinePictures.h"

int main(int argc, char* argv[]) {
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: dyepictures OUTDIR\n"
               "draws 001..039.bmp, a001..a045.bmp, b001..b050.bmp and c001..c020.bmp\n";
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        err << "dyepictures: cannot create " << dir.path() << "\n";
        return 1;
    }
    for (const dye::share::PictureSeries& series : dye::share::machinePictureSeries()) {
        for (int frame = 1; frame <= series.frames; ++frame) {
            const QString name =
                QStringLiteral("%1%2.bmp").arg(series.prefix).arg(frame, 3, 10, QLatin1Char('0'));
            if (!series.draw(frame).save(dir.filePath(name), "BMP")) {
                err << "dyepictures: cannot write " << dir.filePath(name) << "\n";
                return 1;
            }
        }
    }
    return 0;
}
