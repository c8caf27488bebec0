#pragma once

#include "app/StationFixture.h"
#include "files/jobs/JobFile.h"
#include "files/records/DailyRecordFile.h"
#include "model/DispenseGrid.h"

namespace dye::test {

// A station started as the program starts (main screen load), on the
// simulator in virtual time, with helpers to queue jobs and follow the run.
class RunFixture : public StationFixture {
  protected:
    // Bucket places 1..8 are named by their number, as on the shipped
    // machine (positions left blank), unless the test wrote its own.
    void startRun(std::map<int, QString> fields = {}) {
        const QDir work(dir.path());
        if (!work.exists(QLatin1String(kTeachXZFileName))) {
            MachineSettings places;
            for (int slot = 1; slot <= 8; ++slot)
                places.setTeachSlot(slot, {{}, {}, QString::number(slot), {}});
            ASSERT_TRUE(saveTeachSlots(work, places, TeachSlotScope::SettingsScreen));
        }
        loadMainScreen = true;
        start(std::move(fields));
    }

    static JobRecord job(const QString& order, const QString& bucket, const QString& water,
                         std::map<int, std::pair<QString, QString>> lines) {
        JobRecord r;
        r.OrderNo = order;
        r.BucketNo = bucket;
        r.WaterAmount = water;
        for (const auto& [slot, line] : lines) {
            r.Code[size_t(slot)] = line.first;
            r.Weight[size_t(slot)] = line.second;
        }
        return r;
    }
    void queue(const JobRecord& r) { ASSERT_TRUE(jobQueueFile(QDir(dir.path())).append(r)); }
    int queued() { return jobQueueFile(QDir(dir.path())).count(); }

    // The records of the fixture's day (the station's clock starts on it).
    QList<DailyRecord> records() {
        QList<DailyRecord> out;
        readDailyRecords(dailyRecordPath(QDir(dir.path()), QDate(2026, 12, 6)), out);
        return out;
    }

    // The one record of the fixture's day; an empty record, and a failure,
    // when there is not exactly one.
    DailyRecord onlyRecord() {
        const QList<DailyRecord> r = records();
        EXPECT_EQ(r.size(), 1);
        return r.size() == 1 ? r[0] : DailyRecord{};
    }
    // Rows 1, 2, ... of `r` dosed to `grams` within `tolerance`.
    static void expectDosed(const DailyRecord& r, std::initializer_list<double> grams,
                            double tolerance = 2.01) {
        size_t k = 0;
        for (double g : grams) {
            EXPECT_NEAR(r.ActualWeight[k].toDouble(), g, tolerance) << "row " << k + 1;
            ++k;
        }
    }

    Form3& form3() { return state().form3; }
    // The main screen as the next repaint shows it.
    QString order() {
        station->projectScreens();
        return form3().Label2.Caption.trimmed();
    }
    QString cell(DispenseGrid::Column c, int row) {
        station->projectScreens();
        return DispenseGrid::text(form3(), c, row).trimmed();
    }

    // Advances until `done` holds, at most `limitMs` of machine time.
    template <typename Pred>
    bool runUntil(Pred done, qint64 limitMs = 30 * 60 * 1000) {
        const qint64 end = station->scheduler.now() + limitMs;
        while (station->scheduler.now() < end) {
            if (done()) return true;
            station->scheduler.advance(100);
        }
        return done();
    }
    // Runs the job now queued first to its end.
    bool runJob() {
        return runUntil([&] { return !order().isEmpty(); }) &&
               runUntil([&] { return order().isEmpty(); });
    }
};

}  // namespace dye::test
