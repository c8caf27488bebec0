#include "RecordLine.h"

#include "core/AnsiText.h"

namespace dye {
namespace {

constexpr int kWidth = DailyRecord::kShortWidth;

bool plainAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

}  // namespace

QString fixedWidth(const QString& text, int width) {
    // The common case needs no conversion: one byte per character.
    if (plainAscii(text)) return text.leftJustified(width, QLatin1Char(' '), true);
    return AnsiCodePage::decode(toFixedField(text, width));
}

QString recordLine(const DailyRecord& r) {
    QString line;
    line.reserve(DailyRecord::kOrderNoWidth + DailyRecord::kFinishTextWidth + 3 * kWidth +
                 DailyRecord::kRows * 3 * kWidth);
    line += fixedWidth(r.OrderNo, DailyRecord::kOrderNoWidth);
    line += fixedWidth(r.BucketNo, kWidth);
    line += fixedWidth(r.FinishText, DailyRecord::kFinishTextWidth);
    line += fixedWidth(r.WaterAmount, kWidth);
    line += fixedWidth(r.ActualWater, kWidth);
    for (int row = 0; row < DailyRecord::kRows; ++row) {
        line += fixedWidth(r.Code[size_t(row)], kWidth);
        line += fixedWidth(r.RecipeWeight[size_t(row)], kWidth);
        line += fixedWidth(r.ActualWeight[size_t(row)], kWidth);
    }
    return line;
}

}  // namespace dye
