#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>

#include "TestFiles.h"
#include "app/Station.h"
#include "core/AnsiText.h"
#include "core/HeadlessDialogs.h"
#include "files/records/EventLog.h"
#include "files/settings/SettingsFiles.h"
#include "link/FrameCodec.h"
#include "link/TimedRoutine.h"
#include "sim/FrameResponder.h"
#include "sim/SimulatedController.h"

namespace dye::test {

// Image slots by register number, with their values.
using Changes = std::map<int, qint32>;

// A station on the built-in simulator, in virtual time, in a working
// directory of its own with the settings a test gives.
class StationFixture : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<Station> station;
    struct Sent {
        int step;
        QByteArray frame;
    };
    QList<Sent> sent;
    // true: start as the program does, through the main screen's load (which
    // loads the settings form); false: the settings form's load alone.
    bool loadMainScreen = false;
    // Messages are answered by the test (HeadlessDialogs) unless a test shows them.
    Station::MakeDialogs makeDialogs = HeadlessDialogs::make;
    // The plant database's work runs at once, its answers at the end of the pass.
    bool plantWorker = false;
    // The link log file (--link-log); none when empty.
    QString linkLog;

    // Settings records by field number (field i is record i + 1).
    void start(std::map<int, QString> fields) {
        fields.try_emplace(0, QStringLiteral("1"));
        fields.try_emplace(1, QStringLiteral("50"));
        fields.try_emplace(2, QStringLiteral("30"));
        fields.try_emplace(5, QStringLiteral("1"));
        fields.try_emplace(7, QStringLiteral("2"));
        fields.try_emplace(11, QStringLiteral("12"));
        for (const auto& [i, text] : fields)
            ASSERT_TRUE(saveSettingsField(QDir(dir.path()), i, text));
        Station::Options options;
        options.workdir = dir.path();
        options.simulate = true;
        options.start = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
        options.plantWorker = plantWorker;
        options.linkLog = linkLog;
        station = std::make_unique<Station>(options, makeDialogs);
        station->scan().setFrameObserver([this](const QByteArray& f) {
            sent.append({station->scan().ScanStep, f});
        });
        if (loadMainScreen)
            station->load();
        else
            station->loadSettingsForm();
    }

    // start(), then past the start-up axis homing (which switches every
    // output off); messages wait for the test to acknowledge them.
    void startHomed(std::map<int, QString> fields) {
        start(std::move(fields));
        station->headlessDialogs()->setAckDelay(-1);
        ASSERT_TRUE(
            station->scheduler.advanceUntil([&] { return !homingRunning(state()); }, 60'000));
        passes(1);
    }

    // A valve of the table file, before the start: code, rate (the simulator
    // takes its nominal rates from the same file) and, when given, its
    // shortest opening in hundredths of a second.
    void valve(int number, const QString& code, const QString& rate,
               const char* minTime = nullptr) {
        ASSERT_TRUE(saveValveField(QDir(dir.path()), number - 1, code));
        ASSERT_TRUE(saveValveField(QDir(dir.path()), 24 + number - 1, rate));
        if (minTime) {
            ASSERT_TRUE(saveValveField(QDir(dir.path()), 72 + number - 1, minTime));
        }
    }

    StationState& state() { return station->state; }
    MeteringStation& st(int n) { return state().station[size_t(n)]; }
    SimulatedController& sim() { return *station->simulator(); }
    int interval() const { return station->state.timers.scan->interval(); }

    // Runs whole passes of the scan (16 ticks each).
    void passes(int n) { station->scheduler.advance(qint64(n) * 16 * interval()); }
    // Runs the scan until the step that will run next is `step` (1..16).
    void toStep(int step) {
        while (station->scan().ScanStep + 1 != step) station->scheduler.advance(interval());
    }

    // The image slots `control` changes, with their new values.
    Changes changes(const std::function<void()>& control) {
        const RegisterImage before = state().link.image;
        control();
        Changes out;
        for (int r = RegisterImage::kFirst; r <= RegisterImage::kLast; ++r)
            if (state().link.image.get(r) != before.get(r)) out[r] = state().link.image.get(r);
        return out;
    }

    static QByteArray readFrame(int start, int count, int width) {
        FrameCodec c;
        c.BuildReadRequest(QString::number(start), QString::number(count), QString::number(width));
        return c.TxFrame;
    }
    // The write frame of a 16-bit block with `values` (missing ones are 0).
    static QByteArray writeFrame(int start, int count, std::map<int, int> values) {
        FrameCodec c;
        for (int j = 0; j < count; ++j)
            c.WriteValueTable[size_t(j + 1)][0] =
                QString::number(values.count(start + j) ? values[start + j] : 0);
        c.BuildWriteRequest(QString::number(start), QString::number(count), QStringLiteral("16"));
        return c.TxFrame;
    }
    QList<QByteArray> framesAt(int step) const {
        QList<QByteArray> out;
        for (const Sent& s : sent)
            if (s.step == step) out << s.frame;
        return out;
    }
    QList<QByteArray> writes() const {
        QList<QByteArray> out;
        for (const Sent& s : sent)
            if (s.frame.mid(1, 4) == "0061") out << s.frame;
        return out;
    }
    // Every value a 16-bit write block carried to register d, in order; a
    // block sent for another register of its range carries 0 to d.
    QList<int> writtenTo(int d) const {
        QList<int> values;
        for (const QByteArray& f : writes())
            if (const auto r = parseRequest(f); r && d >= r->first && d < r->first + r->registers)
                values << r->values[size_t(d - r->first)];
        return values;
    }
    // The texts of the messages shown so far, and the last one ("" before any).
    QStringList messages() const {
        QStringList out;
        for (const auto& m : station->headlessDialogs()->messages()) out << m.text;
        return out;
    }
    // Whether a message shown so far holds `part`.
    bool told(const QString& part) const { return !messages().filter(part).isEmpty(); }
    QString lastMessage() const {
        const auto& m = station->headlessDialogs()->messages();
        return m.isEmpty() ? QString() : m.last().text;
    }

    // Today's event log texts, in order, without their date and time.
    QStringList logTexts() const {
        QFile file(eventLogPath(QDir(dir.path()), station->clock.now().date()));
        const QByteArray all = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QStringList out;
        for (qsizetype at = 0; at < all.size(); at += kLogRecordLength) {
            const QString line = fromFixedField(all.mid(at, kLogRecordLength)).trimmed();
            const int sep = line.indexOf(QStringLiteral("   "));
            out << (sep < 0 ? line : line.mid(sep + 3)).trimmed();
        }
        return out;
    }
};

}  // namespace dye::test
