// Speed of the records viewer on big month files: files of 10,000 and
// 100,000 records (ten recipe lines each, codes of 24 valves, orders of a
// few records each, finish times spread over the month) are written to a
// temporary folder, then each is loaded as a click on the file list does
// (read, decode, display lines), searched by order number and by day, and
// totalled per valve. Prints the best of three runs of each step in
// milliseconds. Figures, not a pass/fail test.
//
// records_viewer [RECORDS...] (default 10000 100000)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <random>

#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/settings/MachineSettings.h"
#include "model/Form4.h"
#include "screens/records/RecordsViewer.h"

using namespace dye;

namespace {

QString code(int valve) {
    return QStringLiteral("DYE-%1").arg(valve, 2, 10, QLatin1Char('0'));
}

bool writeMonth(const QString& path, int count) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> valve(1, 24);
    std::uniform_int_distribution<int> grams(50, 50000);
    const QDateTime start(QDate(2026, 12, 1), QTime(0, 0));
    const qint64 monthSeconds = 31LL * 24 * 3600 - 1;
    for (int n = 0; n < count; ++n) {
        DailyRecord r;
        r.OrderNo = QStringLiteral("ORD-%1").arg(n / 4, 6, 10, QLatin1Char('0'));
        r.BucketNo = QString::number(1 + n % 25);
        r.WaterAmount = QStringLiteral("15000");
        r.ActualWater = QStringLiteral("15003.2");
        for (size_t row = 0; row < size_t(DailyRecord::kRows); ++row) {
            const int g = grams(random);
            r.Code[row] = code(valve(random));
            r.RecipeWeight[row] = QString::number(g / 10.0, 'f', 1);
            r.ActualWeight[row] = QString::number((g + int(row % 3) - 1) / 10.0, 'f', 1);
        }
        r.setFinishTime(start.addSecs(monthSeconds * n / std::max(1, count - 1)));
        if (f.write(r.toBytes()) != DailyRecord::kLength) return false;
    }
    return true;
}

double bestMs(const std::function<void()>& step) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        step();
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i) sizes << std::max(1, atoi(argv[i]));
    if (sizes.isEmpty()) sizes = {10000, 100000};
    QTemporaryDir dir;
    if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("data"))) {
        out << "records_viewer: no temporary directory\n";
        return 1;
    }
    MachineSettings settings;
    for (int k = 1; k <= 24; ++k) {
        settings.setText4(k - 1, code(k));
        settings.setText4(48 + k - 1, QStringLiteral("valve %1").arg(k));
    }
    Scheduler scheduler;
    HeadlessDialogs dialogs(scheduler);

    out << "records   load ms   order search ms   day search ms   totals ms   all ms\n";
    for (int count : sizes) {
        const QString name = QStringLiteral("DATE_%1.txt").arg(count);
        if (!writeMonth(QDir(dir.path()).filePath(QStringLiteral("data/") + name), count)) {
            out << "records_viewer: cannot write " << name << "\n";
            return 1;
        }
        Form4 form;
        RecordsViewer viewer(form, settings, QDir(dir.path()), dialogs);
        viewer.open();
        form.List2.ListIndex = int(form.List2.items.indexOf(name));
        const double load = bestMs([&] { viewer.loadChosenFile(); });
        const int loaded = int(viewer.month().size());
        const double order = bestMs([&] {
            form.Text1 = QStringLiteral("ORD-%1").arg(count / 8, 6, 10, QLatin1Char('0'));
            viewer.searchKey(13);
        });
        const double day = bestMs([&] {
            form.Text1 = QStringLiteral("##15");
            viewer.searchKey(13);
        });
        const int matches = int(viewer.filtered().size());
        // Totals of the whole file: the worst case.
        form.Text1 = QStringLiteral("no such order");
        viewer.searchKey(13);
        const double totals = bestMs([&] { viewer.showTotals(); });
        out << QStringLiteral("%1   %2   %3   %4   %5   %6\n")
                   .arg(loaded, 7)
                   .arg(load, 7, 'f', 1)
                   .arg(order, 15, 'f', 1)
                   .arg(day, 13, 'f', 1)
                   .arg(totals, 9, 'f', 1)
                   .arg(load + order + totals, 6, 'f', 1);
        out << "          (day ##15: " << matches
            << " records; valve 1: " << form.List1.items.value(0) << ")\n";
        out.flush();
    }
    return 0;
}
