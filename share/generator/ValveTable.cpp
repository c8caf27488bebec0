// The valve table a new station starts with: 24 auxiliary products.
#include <QDir>

#include <array>

#include "ShareFiles.h"

namespace dye::share {
namespace {

constexpr int kRecordLength = 200;

// AA_Name.txt: valve v's code is record v, its rate (grams per second of
// opening) record 24 + v, its name record 48 + v and its shortest opening
// (hundredths of a second) record 72 + v.
struct Valve {
    const char16_t* code;
    int rate;
    const char16_t* name;
    int minimumTime;
};
// clang-format off
constexpr std::array<Valve, 24> kValves{
    Valve{u"SODA",   40, u"純鹼",       15},
    Valve{u"NAOH",   35, u"燒鹼",       15},
    Valve{u"HAC",    20, u"醋酸",       20},
    Valve{u"SALT",   40, u"元明粉液",   15},
    Valve{u"H2O2",   30, u"雙氧水",     15},
    Valve{u"SCOUR",  15, u"精練劑",     20},
    Valve{u"LEVEL",  12, u"勻染劑",     20},
    Valve{u"DISP",   12, u"分散劑",     20},
    Valve{u"SEQ",    10, u"螯合劑",     25},
    Valve{u"DEFOAM",  5, u"消泡劑",     30},
    Valve{u"WET",    10, u"滲透劑",     25},
    Valve{u"STAB",    8, u"氧漂穩定劑", 25},
    Valve{u"SOAP",   15, u"皂洗劑",     20},
    Valve{u"FIX",    10, u"固色劑",     25},
    Valve{u"SOFT",   25, u"柔軟劑",     15},
    Valve{u"ANTICR", 12, u"防皺劑",     20},
    Valve{u"還原劑", 15, u"還原清洗劑", 20},
    Valve{u"BUFFER", 10, u"緩衝劑",     25},
    Valve{u"LUBE",   12, u"潤滑劑",     20},
    Valve{u"ENZYME",  5, u"除氧酵素",   30},
    Valve{u"DONOR",   8, u"釋酸劑",     25},
    Valve{u"NEUTR",  10, u"中和劑",     25},
    Valve{u"增白劑",  6, u"螢光增白劑", 30},
    Valve{u"ANTIST",  8, u"抗靜電劑",   25},
};
// clang-format on

}  // namespace

bool writeValveTable(const QString& dir, QString* error) {
    const qsizetype n = qsizetype(kValves.size());
    QList<QString> texts(4 * n);
    for (qsizetype v = 0; v < n; ++v) {
        texts[v] = QString::fromUtf16(kValves[v].code);
        texts[n + v] = QString::number(kValves[v].rate);
        texts[2 * n + v] = QString::fromUtf16(kValves[v].name);
        texts[3 * n + v] = QString::number(kValves[v].minimumTime);
    }
    return writeTextFile(QDir(dir).filePath(QStringLiteral("AA_Name.txt")), kRecordLength, texts,
                         error);
}

}  // namespace dye::share
