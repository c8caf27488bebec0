#include "DailyRecord.h"

#include <QtEndian>

#include <algorithm>

#include "core/AnsiText.h"
#include "core/OleDate.h"
#include "core/RecordFile.h"

namespace dye {
namespace {

// The text fields' offsets are DailyRecord::kAt...; the rest of the layout:
constexpr int kAtFinishedAt = 480;
constexpr int kAtExtras = 488;
constexpr int kAtReserved = 528;
// The first eight reserved bytes carry the queueing time of the job, which
// with the order and bucket numbers tells a job's record apart from any
// other, so that a restart recognises a record already written. Readers that
// go by the layout above never look there.
constexpr int kAtQueuedAt = kAtReserved;
constexpr int kAtLineEnd = 1078;
static_assert(kAtExtras + DailyRecord::kExtras * DailyRecord::kShortWidth == kAtReserved &&
              kAtReserved + 550 == kAtLineEnd && kAtLineEnd + 2 == DailyRecord::kLength);

}  // namespace

void DailyRecord::setFinishTime(const QDateTime& finished, QChar dateSeparator) {
    const QString sep = dateSeparator;
    FinishText = finished.toString(QStringLiteral("yyyy") + sep + QStringLiteral("MM") + sep +
                                   QStringLiteral("dd hh:mm:ss"));
    FinishedAt = toOleDate(finished);
}

QDateTime DailyRecord::finishTime() const {
    return fromOleDate(FinishedAt);
}

QByteArray DailyRecord::toBytes() const {
    QByteArray r(kLength, '\0');
    putField(r, kAtOrderNo, kOrderNoWidth, OrderNo);
    putField(r, kAtBucketNo, kShortWidth, BucketNo);
    putField(r, kAtWaterAmount, kShortWidth, WaterAmount);
    putField(r, kAtActualWater, kShortWidth, ActualWater);
    for (int i = 0; i < kRows; ++i) {
        const size_t row = size_t(i);
        putField(r, kAtCodes + i * kCodeWidth, kCodeWidth, Code[row]);
        putField(r, kAtRecipeWeights + i * kShortWidth, kShortWidth, RecipeWeight[row]);
        putField(r, kAtActualWeights + i * kShortWidth, kShortWidth, ActualWeight[row]);
    }
    putField(r, kAtFinishText, kFinishTextWidth, FinishText);
    qToLittleEndian<double>(FinishedAt, r.data() + kAtFinishedAt);
    for (int i = 0; i < kExtras; ++i)
        putField(r, kAtExtras + i * kShortWidth, kShortWidth, Extra[size_t(i)]);
    qToLittleEndian<double>(QueuedAt, r.data() + kAtQueuedAt);
    r[kAtLineEnd] = '\r';
    r[kAtLineEnd + 1] = '\n';
    return r;
}

DailyRecord DailyRecord::fromBytes(QByteArrayView bytes) {
    const QByteArray r = wholeRecord(bytes, kLength);
    DailyRecord d;
    d.OrderNo = getField(r, kAtOrderNo, kOrderNoWidth);
    d.BucketNo = getField(r, kAtBucketNo, kShortWidth);
    d.WaterAmount = getField(r, kAtWaterAmount, kShortWidth);
    d.ActualWater = getField(r, kAtActualWater, kShortWidth);
    for (int i = 0; i < kRows; ++i) {
        const size_t row = size_t(i);
        d.Code[row] = getField(r, kAtCodes + i * kCodeWidth, kCodeWidth);
        d.RecipeWeight[row] = getField(r, kAtRecipeWeights + i * kShortWidth, kShortWidth);
        d.ActualWeight[row] = getField(r, kAtActualWeights + i * kShortWidth, kShortWidth);
    }
    d.FinishText = getField(r, kAtFinishText, kFinishTextWidth);
    d.FinishedAt = qFromLittleEndian<double>(r.constData() + kAtFinishedAt);
    for (int i = 0; i < kExtras; ++i)
        d.Extra[size_t(i)] = getField(r, kAtExtras + i * kShortWidth, kShortWidth);
    d.QueuedAt = qFromLittleEndian<double>(r.constData() + kAtQueuedAt);
    return d;
}

}  // namespace dye
