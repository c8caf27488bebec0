#include "RecordLine.h"

#include <algorithm>
#include <array>

#include "core/AnsiText.h"
#include "files/language/Wording.h"

namespace dye {
namespace {

constexpr int kWidth = DailyRecord::kShortWidth;

// The fields of a line in order: where each is in the record, how wide it
// is there and how wide it is shown.
struct Column {
    int at;
    int width;
    int shown;
};

constexpr std::array<Column, 5 + 3 * DailyRecord::kRows> columns() {
    std::array<Column, 5 + 3 * DailyRecord::kRows> c{};
    c[0] = {DailyRecord::kAtOrderNo, DailyRecord::kOrderNoWidth, DailyRecord::kOrderNoWidth};
    c[1] = {DailyRecord::kAtBucketNo, kWidth, kWidth};
    c[2] = {DailyRecord::kAtFinishText, DailyRecord::kFinishTextWidth,
            DailyRecord::kFinishTextWidth};
    c[3] = {DailyRecord::kAtWaterAmount, kWidth, kWidth};
    c[4] = {DailyRecord::kAtActualWater, kWidth, kWidth};
    for (int r = 0; r < DailyRecord::kRows; ++r) {
        c[size_t(5 + 3 * r)] = {DailyRecord::kAtCodes + r * DailyRecord::kCodeWidth,
                                DailyRecord::kCodeWidth, kWidth};
        c[size_t(6 + 3 * r)] = {DailyRecord::kAtRecipeWeights + r * kWidth, kWidth, kWidth};
        c[size_t(7 + 3 * r)] = {DailyRecord::kAtActualWeights + r * kWidth, kWidth, kWidth};
    }
    return c;
}

constexpr auto kColumns = columns();
constexpr int kLineWidth = DailyRecord::kOrderNoWidth + DailyRecord::kFinishTextWidth + 3 * kWidth +
                           DailyRecord::kRows * 3 * kWidth;

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

QString recordHeader(int language) {
    // The first five columns, then code, recipe and actual weight per row;
    // a header ends at least one space before the next column.
    static constexpr Wording kFirst[] = {{u"單號", u"Order No."},
                                         {u"桶號", u"Bucket"},
                                         {u"完成時間", u"Finished"},
                                         {u"加水量", u"Water"},
                                         {u"實際水", u"Act.water"}};
    static constexpr Wording kRow[] = {
        {u"代碼", u"Code"}, {u"配方重", u"Recipe"}, {u"實際重", u"Actual"}};
    QString line;
    line.reserve(kLineWidth);
    for (size_t i = 0; i < kColumns.size(); ++i) {
        const QString name =
            i < 5 ? wordingIn(language, kFirst[i])
                  : wordingIn(language, kRow[(i - 5) % 3]) + QString::number((i - 5) / 3 + 1);
        // A Chinese character is drawn two columns wide, as in the code page;
        // the headers are short enough never to need a cut.
        qsizetype width = 0;
        for (QChar c : name) width += c.unicode() < 0x80 ? 1 : 2;
        line += name + QString(std::max<qsizetype>(1, kColumns[i].shown - width), QLatin1Char(' '));
    }
    return line;
}

QString totalsHeader(int language) {
    return wordingIn(language,
                     {u"閥   代碼   名稱   用量(KG)", u"Valve   Code   Name   Total (KG)"});
}

QString recordLine(const RecordMonth& month, qsizetype row) {
    // Plain ASCII fields are copied byte for byte into one buffer; a field
    // with double-byte characters is decoded and cut on whole characters.
    QString line;
    line.reserve(kLineWidth);
    for (const Column& c : kColumns) {
        const QByteArrayView f = month.field(row, c.at, c.width);
        // Cutting after an ASCII byte never splits a character.
        const qsizetype n = std::min<qsizetype>(f.size(), c.shown);
        bool ascii = true;
        for (qsizetype i = 0; ascii && i < n; ++i) ascii = static_cast<uchar>(f[i]) < 0x80;
        if (ascii) {
            const qsizetype start = line.size();
            line.resize(start + c.shown, QLatin1Char(' '));
            QChar* out = line.data() + start;
            for (qsizetype i = 0; i < n; ++i) out[i] = QLatin1Char(f[i]);
        } else {
            line += fixedWidth(AnsiCodePage::decode(f), c.shown);
        }
    }
    return line;
}

}  // namespace dye
