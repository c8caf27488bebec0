#include "JobRecord.h"

#include <QtEndian>

#include <algorithm>
#include <bit>

#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye {
namespace {

constexpr int kAtOrderNo = 0;
constexpr int kAtBucketNo = 20;
constexpr int kAtWaterAmount = 30;
constexpr int kShortWidth = 10;
constexpr int kAtCodes = 40;
constexpr int kAtWeights = 240;
constexpr int kAtQueuedAt = 340;
constexpr int kAtTags = 348;
constexpr int kAtSpare = 388;
constexpr int kAtLineEnd = 938;

}  // namespace

QByteArray JobRecord::toBytes() const {
    QByteArray r(kLength, ' ');
    putField(r, kAtOrderNo, kOrderNoWidth, OrderNo);
    putField(r, kAtBucketNo, kShortWidth, BucketNo);
    putField(r, kAtWaterAmount, kShortWidth, WaterAmount);
    for (int i = 0; i < kLines; ++i) {
        putField(r, kAtCodes + i * kCodeWidth, kCodeWidth, Code[size_t(i)]);
        putField(r, kAtWeights + i * kWeightWidth, kWeightWidth, Weight[size_t(i)]);
    }
    qToLittleEndian<double>(QueuedAt, r.data() + kAtQueuedAt);
    const QString* tags[] = {&Tag1, &Tag2, &Tag3, &Tag4};
    for (int i = 0; i < 4; ++i) putField(r, kAtTags + i * kShortWidth, kShortWidth, *tags[i]);
    static_assert(kAtTags + 4 * kShortWidth == kAtSpare && kAtSpare + 550 == kAtLineEnd);
    r[kAtLineEnd] = '\r';
    r[kAtLineEnd + 1] = '\n';
    return r;
}

JobRecord JobRecord::fromBytes(QByteArrayView bytes) {
    const QByteArray r = wholeRecord(bytes, kLength);
    JobRecord job;
    job.OrderNo = getField(r, kAtOrderNo, kOrderNoWidth);
    job.BucketNo = getField(r, kAtBucketNo, kShortWidth);
    job.WaterAmount = getField(r, kAtWaterAmount, kShortWidth);
    for (int i = 0; i < kLines; ++i) {
        job.Code[size_t(i)] = getField(r, kAtCodes + i * kCodeWidth, kCodeWidth);
        job.Weight[size_t(i)] = getField(r, kAtWeights + i * kWeightWidth, kWeightWidth);
    }
    job.QueuedAt = qFromLittleEndian<double>(r.constData() + kAtQueuedAt);
    QString* tags[] = {&job.Tag1, &job.Tag2, &job.Tag3, &job.Tag4};
    for (int i = 0; i < 4; ++i) *tags[i] = getField(r, kAtTags + i * kShortWidth, kShortWidth);
    return job;
}

QString JobRecord::orderNoOf(QByteArrayView bytes) {
    return getField(
        wholeRecord(bytes.first(std::min<qsizetype>(bytes.size(), kOrderNoWidth)), kOrderNoWidth),
        kAtOrderNo, kOrderNoWidth);
}

double JobRecord::queuedAtOf(QByteArrayView bytes) {
    return bytes.size() >= kAtQueuedAt + 8 ? qFromLittleEndian<double>(bytes.data() + kAtQueuedAt)
                                           : 0.0;
}

bool sameQueuedAt(double a, double b) {
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

QString JobRecord::bucketNoOf(QByteArrayView bytes) {
    const QByteArrayView field =
        bytes.size() > kAtBucketNo
            ? bytes.sliced(kAtBucketNo)
                  .first(std::min<qsizetype>(bytes.size() - kAtBucketNo, kShortWidth))
            : QByteArrayView();
    return getField(wholeRecord(field, kShortWidth), 0, kShortWidth);
}

}  // namespace dye
