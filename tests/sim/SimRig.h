#pragma once

#include <initializer_list>

#include "core/Scheduler.h"
#include "link/FrameCodec.h"
#include "link/LoopPort.h"
#include "sim/SimulatedController.h"

namespace dye {

// A station's view of the simulator: the codec and a loop port on virtual
// time, as the scan uses them.
struct SimRig {
    using Values = std::vector<std::optional<qint32>>;

    Scheduler scheduler;
    SimulatedController sim;
    LoopPort port{scheduler, sim};
    FrameCodec codec;

    // Quiet, exact physics unless a test asks otherwise.
    static SimOptions exact(int machineType = 1) {
        SimOptions o;
        o.machineType = machineType;
        o.physics.rateError = 0.0;
        o.physics.valveOpenLatencyMs = 0;
        o.physics.valveCloseLatencyMs = 0;
        o.physics.valveRampMs = 0;
        o.physics.waterRunOnMs = 0;
        o.physics.waterRunOnSpreadMs = 0;
        o.physics.valve1WaterRunOnMs = 0;
        o.physics.valveFallMs = 0;
        o.physics.valveRateNoise = 0.0;
        o.physics.valveDrift = 0.0;
        o.physics.drainTailMs = 0;
        o.physics.drainResidual = 0.0;
        o.physics.noiseCounts = 0.0;
        o.physics.bucketTare = 0.0;
        return o;
    }

    explicit SimRig(SimOptions options = exact()) : sim(std::move(options)) {
        port.open("SIM", "19200,E,7,1");
    }

    // Sends the frame and returns everything that came back within `ms`.
    QByteArray exchange(qint64 ms = 60) {
        port.clearInput();
        port.write(codec.TxFrame);
        scheduler.advance(ms);
        return port.readAll();
    }
    Values read(int d, int n, int width = 16, qint64 ms = 60) {
        codec.BuildReadRequest(QString::number(d), QString::number(n), QString::number(width));
        return FrameCodec::DecodeReadReply(exchange(ms), codec.ReplyCount, codec.ReplyWidth);
    }
    std::optional<qint32> read1(int d, int width = 16) { return read(d, 1, width)[0]; }
    QByteArray write(int d, std::initializer_list<qint32> values, int width = 16) {
        int row = 1;
        for (qint32 v : values) codec.WriteValueTable[size_t(row++)][0] = QString::number(v);
        codec.BuildWriteRequest(QString::number(d), QString::number(values.size()),
                                QString::number(width));
        return exchange();
    }
    // Moves time on and brings the machine up to it.
    void wait(qint64 ms) {
        scheduler.advance(ms);
        port.pump();
    }
    double content(int balance) { return sim.machine().content(balance); }
};

}  // namespace dye
