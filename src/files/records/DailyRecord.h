#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <array>

namespace dye {

// The 1080-byte record of one finished job in the monthly record file.
// Text fields are fixed-width ANSI bytes read back trimmed; the reserved
// area is written as zero bytes and never read.
struct DailyRecord {
    static constexpr int kLength = 1080;
    static constexpr int kRows = 10;
    static constexpr int kExtras = 4;
    static constexpr int kOrderNoWidth = 20;
    static constexpr int kShortWidth = 10;
    static constexpr int kCodeWidth = 20;
    static constexpr int kFinishTextWidth = 30;
    // Where the text fields are (byte offsets), for readers that go through
    // the bytes of many records without decoding every field.
    static constexpr int kAtOrderNo = 0;
    static constexpr int kAtBucketNo = 20;
    static constexpr int kAtWaterAmount = 30;
    static constexpr int kAtActualWater = 40;
    static constexpr int kAtCodes = 50;  // row r at kAtCodes + r * kCodeWidth
    static constexpr int kAtRecipeWeights = 250;
    static constexpr int kAtActualWeights = 350;
    static constexpr int kAtFinishText = 450;

    QString OrderNo;
    QString BucketNo;
    QString WaterAmount;
    QString ActualWater;
    std::array<QString, kRows> Code;  // grid rows 0..9
    std::array<QString, kRows> RecipeWeight;
    std::array<QString, kRows> ActualWeight;
    QString FinishText;       // "yyyy-MM-dd hh:mm:ss" ("yyyy/MM/dd ..." from the two-balance run)
    double FinishedAt = 0.0;  // the same moment as an OLE date
    std::array<QString, kExtras> Extra;
    // When the job was queued (an OLE date; 0 unknown): with the order and
    // bucket numbers, what identifies the job this record is of.
    double QueuedAt = 0.0;

    // Sets FinishText and FinishedAt from one moment; the date's parts are
    // joined by `dateSeparator`.
    void setFinishTime(const QDateTime& finished, QChar dateSeparator = u'-');
    // FinishedAt as a date and time (invalid when it is not a usable date).
    QDateTime finishTime() const;

    QByteArray toBytes() const;
    // Missing bytes of a short record read as blank (and FinishedAt as 0).
    static DailyRecord fromBytes(QByteArrayView bytes);

    bool operator==(const DailyRecord&) const = default;
};

}  // namespace dye
