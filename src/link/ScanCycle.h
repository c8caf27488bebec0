#pragma once

#include <QString>

#include <array>
#include <functional>

#include "link/WriteBlocks.h"

namespace dye {

class Dialogs;
class FrameCodec;
class Port;
struct StationState;

// The 16-step cycle on Form2.Timer1 that keeps the register image and the
// controller in step: each tick sends one read request (and stores its answer
// on the next tick) or one block of write slots.
class ScanCycle {
  public:
    ScanCycle(StationState& state, FrameCodec& codec, Dialogs& dialogs);

    void setPort(Port* port) { port_ = port; }
    // Called for every frame sent (the link log).
    void setFrameObserver(std::function<void(const QByteArray&)> fn) { sent_ = std::move(fn); }

    // One tick of Form2.Timer1.
    void tick();

    int ScanStep = 0;
    int WritePending = 0;
    std::array<QString, 256> ReplyFields;
    std::array<qint32, 31> LatchedValues{};

    // Ticks run since start: lets the program end wait for a full pass.
    qint64 ticks() const { return ticks_; }

  private:
    void showDiagnostics();
    void startRead(const QString& start, const QString& count, const QString& width);
    void storeReply();
    void showWeights();
    void runWriteBlocks(int step);
    void writeBlock(int start, int count);
    void writeLatchedBlock(int start);
    void sendWrite(int start, int count);
    void robotCheck();
    void axisMove(int firstRegister, int speed, qint16 distance);
    void send();

    StationState& s_;
    FrameCodec& codec_;
    Dialogs& dialogs_;
    Port* port_ = nullptr;
    std::function<void(const QByteArray&)> sent_;
    qint64 ticks_ = 0;
};

// Stores RegNoValue in every output slot the scan sends for the machine type
// and profile (axis blocks excepted) and in D800..D819, D840..D842,
// D847..D876, D901..D919 and D985..D992, and arms the timed routine, so that
// the next pass switches every output off.
void InvalidateWriteSlots(StationState& state);

}  // namespace dye
