#include "ConsumptionReport.h"

#include <QDir>
#include <QFileInfo>

#include "app/CommandLine.h"
#include "files/records/MonthFiles.h"
#include "files/records/RecordCsv.h"
#include "files/records/RecordSearch.h"
#include "files/records/ValveUsage.h"
#include "files/settings/SettingsFiles.h"

namespace dye {

int runConsumptionReport(const CommandLine& cl, QTextStream& out, QTextStream& err) {
    const QDir workdir(cl.workdir);
    // The report only reads: a missing valve table is not created, it is named.
    const QString table = workdir.filePath(QLatin1String(kValveTableFileName));
    if (!QFileInfo(table).isFile()) {
        err << "dyestation: the valve codes and names come from " << table
            << ", which is not there (give the station's folder with --workdir)\n";
        return 1;
    }
    MachineSettings settings;
    QString error;
    if (!loadValveTable(workdir, settings, &error)) {
        err << "dyestation: " << error << "\n";
        return 1;
    }

    const QString path = monthFileArgument(workdir, cl.report);
    RecordMonth month;
    if (!month.load(path, &error)) {
        err << "dyestation: " << error << "\n";
        return 1;
    }
    if (month.tailBytes() > 0)
        err << "dyestation: " << path << " ends in a partial record of " << month.tailBytes()
            << " bytes, which is left out\n";

    const RecordRows rows = cl.findSet ? searchMonth(month, cl.find) : month.allRows();
    out << path << ": " << month.size() << " records";
    if (cl.findSet) out << ", " << rows.size() << " matching \"" << cl.find << "\"";
    out << "\n\n";
    const ValveUsageTable usage = valveUsage(month, rows, settings);
    for (const QString& line : totalsLines(usage, settings)) out << line << "\n";
    out << "\nactual minus recipe weight per valve:\n";
    // Beside the drift, what the station has learned of each valve.
    ValveAllowanceTable learned{};
    const bool haveLearned = readValveAllowances(workdir, learned);
    for (const QString& line : differenceLines(usage, settings, haveLearned ? &learned : nullptr))
        out << line << "\n";

    if (!cl.csv.isEmpty()) {
        int lines = 0;
        if (!writeRecordsCsv(cl.csv, month.records(rows), &lines, &error)) {
            out.flush();
            err << "dyestation: " << error << "\n";
            return 1;
        }
        out << "\n" << lines << " lines written to " << cl.csv << "\n";
    }
    return 0;
}

}  // namespace dye
