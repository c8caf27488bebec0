// What the status service shows of a station working a job on the simulated
// machine in virtual time: the JSON of the job, the queue, the balances and
// the alarms, and the counters of finished jobs.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/StationStatus.h"
#include "run/JobCompletion.h"
#include "run/RunFixture.h"
#include "status/StatusCounters.h"
#include "status/StatusJson.h"
#include "status/StatusMetrics.h"

namespace dye::test {
namespace {

class StatusSnapshotTest : public RunFixture {
  protected:
    void SetUp() override {
        valve(1, "SODA", "40");
        valve(3, "HAC", "20");
        startRun();
    }
    QJsonObject json() {
        return QJsonDocument::fromJson(statusJson(stationStatus(*station))).object();
    }
    QString metrics() {
        return QString::fromUtf8(statusMetrics(stationStatus(*station), station->statusCounters()));
    }
    // The value of a metric sample line ("name value"); -1 when it is missing.
    double sample(const QString& name) {
        for (const QString& line : metrics().split(QLatin1Char('\n')))
            if (line.startsWith(name + QLatin1Char(' '))) return line.section(' ', 1).toDouble();
        return -1;
    }
};

TEST_F(StatusSnapshotTest, TheJobInTheMiddleOfItsMetering) {
    queue(job("J-1", "1", "12000", {{0, {"SODA", "300"}}, {4, {"HAC", "40"}}}));
    queue(job("J-2", "2", "0", {{0, {"HAC", "10"}}}));
    // The second line is being metered: the first has its actual weight.
    ASSERT_TRUE(runUntil([&] {
        return !cell(DispenseGrid::ActualWeight, 0).isEmpty() &&
               state().station[1].StationStep > 0 && station->transfer().rowStep() == 2;
    }));

    const QJsonObject s = json();
    EXPECT_EQ(s["machineType"].toInt(), 1);
    EXPECT_TRUE(s["link"]["up"].toBool());
    EXPECT_FALSE(s["link"]["lastAnswer"].isNull());
    const QJsonObject job = s["job"].toObject();
    EXPECT_EQ(job["order"].toString(), "J-1");
    EXPECT_EQ(job["bucket"].toString(), "1");
    EXPECT_EQ(job["water"].toDouble(), 12000);
    const QJsonArray rows = job["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]["code"].toString(), "SODA");
    EXPECT_EQ(rows[0]["recipe"].toDouble(), 300);
    EXPECT_NEAR(rows[0]["actual"].toDouble(), 300, 10);
    EXPECT_EQ(rows[0]["state"].toString(), "done");
    EXPECT_EQ(rows[1]["code"].toString(), "HAC");
    EXPECT_EQ(rows[1]["tube"].toString(), "3");
    EXPECT_EQ(rows[1]["state"].toString(), "metering");
    // The queue lists the job on the machine until it ends, then the next.
    const QJsonArray queued = s["queue"]["jobs"].toArray();
    ASSERT_EQ(queued.size(), 2);
    EXPECT_EQ(queued[1]["order"].toString(), "J-2");
    EXPECT_EQ(queued[1]["bucket"].toString(), "2");
    EXPECT_EQ(s["queue"]["length"].toInt(), 2);
    // Both balances are read; balance 1 carries the bucket's water.
    const QJsonArray balances = s["balances"].toArray();
    ASSERT_EQ(balances.size(), 2);
    EXPECT_TRUE(balances[0]["fresh"].toBool());
    EXPECT_GT(balances[0]["weight"].toDouble(), 1000);
    EXPECT_FALSE(balances[1]["weight"].isNull());
}

TEST_F(StatusSnapshotTest, FinishedJobsAreCountedFromTheRunsReport) {
    queue(job("J-1", "1", "12000", {{0, {"SODA", "300"}}, {4, {"HAC", "40"}}}));
    station->plant().queueChanged();
    EXPECT_EQ(sample("dyestation_jobs_finished_total"), 0);
    EXPECT_EQ(sample("dyestation_queue_length"), 1);
    ASSERT_TRUE(runJob());
    EXPECT_EQ(sample("dyestation_jobs_finished_total"), 1);
    EXPECT_EQ(sample("dyestation_lines_finished_total"), 2);
    EXPECT_EQ(sample("dyestation_metering_error_grams_count"), 2);
    EXPECT_EQ(sample("dyestation_metering_error_grams_bucket{le=\"+Inf\"}"), 2);
    // The lines off the 2 g tolerance and the error figures (how the counters
    // count them is StatusCountersTest's), taken from the record.
    const QList<DailyRecord> r = records();
    ASSERT_EQ(r.size(), 1);
    const StatusCounters& c = station->statusCounters();
    EXPECT_EQ(sample("dyestation_lines_out_of_tolerance_total"), c.linesOff());
    EXPECT_GE(sample("dyestation_metering_error_grams_bucket{le=\"2\"}"), 0);
    EXPECT_NEAR(sample("dyestation_metering_error_grams_sum"),
                r[0].ActualWeight[0].toDouble() - 300 + r[0].ActualWeight[1].toDouble() - 40, 1e-9);
    EXPECT_EQ(sample("dyestation_queue_length"), 0);
    EXPECT_EQ(sample("dyestation_link_up"), 1);
    EXPECT_TRUE(json()["job"].isNull());
}

TEST(StatusCountersTest, LinesOffTheirToleranceAndTheErrorBuckets) {
    StatusCounters c;
    FinishedJob j;
    j.recipeWeights = {"100", "100", "50", "10", "5"};
    // -3 off, exactly 2 over (within), nothing poured, not a number, 0.5 short.
    j.actualWeights = {"97", "102", "0", "x", "4.5"};
    c.jobFinished(j, 2);
    EXPECT_EQ(c.jobsFinished(), 1u);
    EXPECT_EQ(c.linesFinished(), 5u);
    EXPECT_EQ(c.linesOff(), 3u);  // -3, nothing, and the unreadable actual
    EXPECT_EQ(c.errorCount(), 5u);
    EXPECT_DOUBLE_EQ(c.errorSum(), -3 + 2 - 50 - 10 - 0.5);
    const auto bucket = [&](double bound) {
        for (size_t i = 0; i < StatusCounters::kErrorBounds.size(); ++i)
            if (StatusCounters::kErrorBounds[i] == bound) return c.errorsAtMost(i);
        return quint64(999);
    };
    EXPECT_EQ(bucket(-10), 2u);  // -50 and -10: a bound holds its own value
    EXPECT_EQ(bucket(-2), 3u);
    EXPECT_EQ(bucket(-0.5), 4u);
    EXPECT_EQ(bucket(2), 5u);
}

TEST_F(StatusSnapshotTest, AlarmsShowUntilTheOperatorAcknowledges) {
    // What the start showed is acknowledged first.
    station->scheduler.advance(1000);
    ASSERT_TRUE(json()["alarms"].toArray().isEmpty());
    station->headlessDialogs()->setAckDelay(-1);
    station->dialogs().message(QStringLiteral("*** NO FLOW ***"), QStringLiteral("ALARM"), [] {});
    QJsonArray alarms = json()["alarms"].toArray();
    ASSERT_EQ(alarms.size(), 1);
    EXPECT_EQ(alarms.at(0).toObject()["text"].toString(), "*** NO FLOW ***");
    EXPECT_EQ(sample("dyestation_alarms"), 1);
    ASSERT_TRUE(station->headlessDialogs()->acknowledge());
    EXPECT_TRUE(json()["alarms"].toArray().isEmpty());
}

TEST_F(StatusSnapshotTest, ALongQueueListsItsFirstJobsAndCountsTheRest) {
    for (int i = 0; i < 1003; ++i)
        queue(job(QStringLiteral("Q-%1").arg(i), "1", "0", {{0, {"HAC", "10"}}}));
    // The lists are filled as the station does after a change of the queue.
    station->plant().queueChanged();
    const QJsonObject q = json()["queue"].toObject();
    EXPECT_EQ(q["jobs"].toArray().size(), 1000);
    EXPECT_EQ(q["jobs"].toArray().at(999).toObject()["order"].toString(), "Q-999");
    EXPECT_EQ(q["more"].toInt(), 3);
    EXPECT_EQ(q["length"].toInt(), 1003);
    EXPECT_EQ(sample("dyestation_queue_length"), 1003);
}

}  // namespace
}  // namespace dye::test
