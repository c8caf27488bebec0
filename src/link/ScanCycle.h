#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>

#include "link/LinkState.h"
#include "link/WriteBlocks.h"

namespace dye {

class Dialogs;
class FrameCodec;
class Port;
class Scheduler;

// The settings the scan works with, read at the moment of use.
struct ScanConfig {
    int machineType = 0;
    int language = 0;          // the messages' language (settings field 9)
    QString profile;           // site profile name (settings field 16)
    QString valvesPerStation;  // settings field 11 as typed; empty counts 5
    // Balance scale factors (settings fields 34, 35); none: raw counts.
    std::array<std::optional<double>, 3> factor{};
};

// The 16-step cycle on Form2.Timer1 that keeps the register image and the
// controller in step: each tick sends one read request (and stores its answer
// on the next tick) or one block of write slots. Every answer is checked: the
// scan decodes whole answers into the machine inputs and reports each read's
// outcome to the link's health, reopens a port that is lost, and raises the
// link alarm once per failure.
class ScanCycle {
  public:
    static constexpr qint64 kReopenMs = 2000;

    using Log = std::function<void(const QString&)>;
    ScanCycle(LinkState& link, FrameCodec& codec, Dialogs& dialogs, const Scheduler& clock);

    // The port and what to reopen it with when it is lost.
    void setPort(Port* port, const QString& name = QString(),
                 const QString& settings = QStringLiteral("19200,E,7,1"));
    void setConfigSource(std::function<ScanConfig()> fn) { config_ = std::move(fn); }
    void setLog(Log log) { log_ = std::move(log); }
    // The robot check, run on step 15 of every pass.
    void setRobotCheck(std::function<void()> fn) { robotCheck_ = std::move(fn); }
    // Called for every frame sent (the link log).
    void setFrameObserver(std::function<void(const QByteArray&)> fn) { sent_ = std::move(fn); }
    // The port could not be opened at start: counts as a lost link, retried.
    void portOpenFailed(const QString& why);

    // One tick of Form2.Timer1.
    void tick();

    ScanConfig config() const { return config_ ? config_() : ScanConfig{}; }

    int ScanStep = 0;
    int WritePending = 0;
    std::array<QString, 256> ReplyFields;
    std::array<qint32, 31> LatchedValues{};

    // Ticks run since start: lets the program end wait for a full pass.
    qint64 ticks() const { return ticks_; }

  private:
    void startRead(int start, int count, int width);
    bool storeReply();
    void decodeWeights(const ScanConfig& cfg);
    void decodeSigns();
    void decodeAxes();
    void runWriteBlocks(int step, const ScanConfig& cfg);
    // scanWriteBlocks() of the configuration, worked out again only when
    // the machine type, profile or valves per station differ from the last.
    const std::vector<WriteBlock>& writeBlocks(const ScanConfig& cfg);
    void clearWriteValues();
    void writeBlock(int start, int count, bool whole);
    void writeLatchedBlock(int start);
    void sendWrite(int start, int count);
    void send();
    bool portUsable();
    void checkPort();
    void onLost(const QString& why);
    void onBack();
    void log(const QString& line) const;

    LinkState& l_;
    FrameCodec& codec_;
    Dialogs& dialogs_;
    const Scheduler& clock_;
    Port* port_ = nullptr;
    QString portName_;
    QString portSettings_;
    std::function<ScanConfig()> config_;
    Log log_;
    std::function<void(const QByteArray&)> sent_;
    std::function<void()> robotCheck_;
    qint64 ticks_ = 0;
    qint64 lastReopenMs_ = 0;
    int readStart_ = 0;  // register of the read whose answer is awaited; 0 none
    bool lossMessageOpen_ = false;
    std::optional<ScanConfig> blocksFor_;
    std::vector<WriteBlock> blocks_;
};

// Stores RegNoValue in every output slot the scan sends for the machine type
// and profile (axis blocks excepted) and in D800..D819, D840..D842,
// D847..D876, D901..D919 and D985..D992, so that the next pass switches every
// output off. A lane's job-end code not yet sent stays in its phase
// registers: it changes the ended job's bucket, which must never be left
// under the next job.
void InvalidateWriteSlots(LinkState& link, const ScanConfig& config);

// Lane 1 or 2 owes its job-end code and it still waits in its phase registers.
bool laneJobEndPending(const LinkState& link, int lane);
// Puts the job-end code in the three phase registers of lane 1 or 2.
void putLaneJobEnd(LinkState& link, int lane);

}  // namespace dye
