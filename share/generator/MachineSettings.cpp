// The machine settings a new station starts with: a simulated machine of type
// 1 (one balance, X/Z gantry, 24 valves) run without a plant database.
#include <QDir>

#include <array>

#include "ShareFiles.h"
#include "files/settings/MachineSettings.h"
#include "files/settings/SettingsFiles.h"

namespace dye::share {
namespace {

constexpr int kRecordLength = 200;

// JUCIsetting.txt, record n = settings field n - 1. Weights are in the
// balance's units (grams), times as the captions say.
// clang-format off
constexpr std::array<const char16_t*, 38> kSettings{
    u"1",        //  1 ComPort: controller on port 1
    u"50",       //  2 scan period, ms (45 or more)
    u"80",       //  3 metering coefficient: pulses at 80 % of the calibrated time
    u"2",        //  4 bucket washes
    u"10",       //  5 wash water, seconds
    u"1",        //  6 machine type 1
    u"30000",    //  7 largest weight a bucket may take
    u"2",        //  8 metering tolerance
    u"0",        //  9 no bucket change per item
    u"0",        // 10 language 0, Traditional Chinese
    u"",         // 11 intake folder (drop-file profile only)
    u"12",       // 12 valves per station: half of 24
    u"3",        // 13 delay after the pipe head rises
    u"",         // 14 plant database user (no database with this profile)
    u"",         // 15 plant database password
    u"",         // 16 ODBC data source
    u"ORIGINAL", // 17 site profile
    u"0",        // 18 mixer outputs: none
    u"0",        // 19 mixer on-time: mixers off
    u"100",      // 20 second calibration: the measured correction counts fully
    u"N",        // 21 gate valve stays shut with the wash water
    u"1",        // 22 machine identifier
    u"0",        // 23 no wash before each job (the wash after it always runs)
    u"3",        // 24 extra wash water, seconds
    u"0",        // 25 conveyor places (conveyor machine only)
    u"L",        // 26 large machine
    u"", u"", u"", u"", u"", u"", u"", u"",  // 27-34 D801..D808 special codes: none
    u"1",        // 35 balance 1 display factor
    u"1",        // 36 balance 2 display factor
    u"0",        // 37 discard
    u"",         // 38 dye-mix folder: the working directory
};
// clang-format on

}  // namespace

bool writeMachineSettings(const QString& dir, QString* error) {
    QList<QString> texts;
    for (const char16_t* text : kSettings) texts.append(QString::fromUtf16(text));
    return writeTextFile(QDir(dir).filePath(QStringLiteral("JUCIsetting.txt")), kRecordLength,
                         texts, error);
}

}  // namespace dye::share

namespace dye::share {

// XZ_Name.txt and Y_Name.txt: the gantry's bucket places. Places 1..8 stand
// in a row 2000 apart, the pipe head down at Z 1200, each named by the bucket
// number that goes there.
bool writeTeachSlots(const QString& dir, QString* error) {
    MachineSettings settings;
    for (int slot = 1; slot <= 8; ++slot) {
        TeachSlot t;
        t.x = QString::number(2000 * slot);
        t.z = QStringLiteral("1200");
        t.y = QStringLiteral("0");
        t.name = QString::number(slot);
        settings.setTeachSlot(slot, t);
    }
    return saveTeachSlots(QDir(dir), settings, TeachSlotScope::SettingsScreen, error);
}

}  // namespace dye::share
