#include <QCoreApplication>
#include <QTextStream>

#include "Version.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << "DyeStation " << dye::kVersion << "\n"
        << "usage: dyestation [--workdir DIR] [--simulate] [--headless]\n";
    return 0;
}
