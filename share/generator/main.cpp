// dyeshare OUTDIR: writes the files a new station ships with into OUTDIR.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "ShareFiles.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: dyeshare OUTDIR\n"
               "writes language.txt, JUCIsetting.txt, AA_Name.txt, QUICK_A.txt, START_DISPEN.txt, "
               "XZ_Name.txt and Y_Name.txt into OUTDIR\n";
        return 2;
    }
    const QString dir = args[1];
    if (!QDir().mkpath(dir)) {
        err << "dyeshare: cannot create " << dir << "\n";
        return 1;
    }
    using Writer = bool (*)(const QString&, QString*);
    for (Writer write : {dye::share::writeLanguageFile, dye::share::writeMachineSettings,
                         dye::share::writeValveTable, dye::share::writeSampleRecipes,
                         dye::share::writeSampleQueue, dye::share::writeTeachSlots}) {
        QString error;
        if (!write(dir, &error)) {
            err << "dyeshare: " << error << "\n";
            return 1;
        }
    }
    return 0;
}
