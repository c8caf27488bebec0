#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

namespace dye {

// The 940-byte record of the recipe store and the job queue. Text fields are
// fixed-width ANSI bytes, space padded and cut at the width; they read back
// trimmed. The spare area is always written blank and never read.
struct JobRecord {
    static constexpr int kLength = 940;
    static constexpr int kLines = 10;
    static constexpr int kOrderNoWidth = 20;
    static constexpr int kCodeWidth = 20;
    static constexpr int kWeightWidth = 10;

    QString OrderNo;
    QString BucketNo;
    QString WaterAmount;
    std::array<QString, kLines> Code;    // slots 1..10 at indexes 0..9
    std::array<QString, kLines> Weight;  // recipe weight of the same slot
    double QueuedAt = 0.0;               // OLE date the job was queued
    QString Tag1;
    QString Tag2;
    QString Tag3;
    QString Tag4;

    QByteArray toBytes() const;
    // Missing bytes of a short record read as blank (and QueuedAt as 0).
    static JobRecord fromBytes(QByteArrayView bytes);
    // OrderNo and BucketNo alone, read as fromBytes reads them (the queue list).
    static QString orderNoOf(QByteArrayView bytes);
    static QString bucketNoOf(QByteArrayView bytes);
    static double queuedAtOf(QByteArrayView bytes);

    bool operator==(const JobRecord&) const = default;
};

// Two queueing times are the same when their eight bytes are, so that a time
// that reads as NaN still matches the record it came from.
bool sameQueuedAt(double a, double b);

}  // namespace dye
