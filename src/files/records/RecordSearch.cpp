#include "RecordSearch.h"

#include "core/AnsiText.h"

namespace dye {
namespace {

bool plainAscii(QByteArrayView bytes) {
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80) return false;
    return true;
}

// The day of the month of a record's finish time: characters 9 and 10 of
// the text as the record holds it (space-padded).
QString dayOf(const RecordMonth& month, qsizetype row) {
    const QByteArrayView finish =
        month.field(row, DailyRecord::kAtFinishText, DailyRecord::kFinishTextWidth);
    if (plainAscii(finish)) {
        QString day(2, QLatin1Char(' '));
        for (int i = 0; i < 2 && 8 + i < finish.size(); ++i) day[i] = QLatin1Char(finish[8 + i]);
        return day;
    }
    return AnsiCodePage::decode(finish).leftJustified(10, QLatin1Char(' ')).mid(8, 2);
}

// The day a "##" search asks for, as the finish time writes it (two
// digits): "7" and "07" both give "07"; anything after the first two digits,
// or after one digit and a non-digit, is ignored. Empty when no digit follows.
QString askedDay(const QString& afterHashes) {
    const QString text = afterHashes.trimmed();
    int digits = 0;
    while (digits < 2 && digits < text.size() && text[digits].isDigit() &&
           text[digits].unicode() < 0x80)
        ++digits;
    if (digits == 0) return {};
    return text.left(digits).rightJustified(2, QLatin1Char('0'));
}

RecordRows byDay(const RecordMonth& month, const QString& day) {
    RecordRows found;
    if (day.size() != 2) return found;
    for (qsizetype row = 0; row < month.size(); ++row)
        if (dayOf(month, row) == day) found.append(row);
    return found;
}

RecordRows byOrder(const RecordMonth& month, const QString& order) {
    // The order compared in the code page's bytes, which spares decoding the
    // order number of every record; fields with double-byte characters are
    // decoded, so that trimming works on characters. Letters match whatever
    // their case: an order typed "ab12" finds "AB12".
    const QByteArray key = AnsiCodePage::encode(order);
    const bool keyExact = AnsiCodePage::decode(key) == order && plainAscii(key);
    RecordRows found;
    for (qsizetype row = 0; row < month.size(); ++row) {
        const QByteArrayView f =
            month.field(row, DailyRecord::kAtOrderNo, DailyRecord::kOrderNoWidth);
        const bool match =
            plainAscii(f) && keyExact
                ? QByteArrayView(f).trimmed().compare(key, Qt::CaseInsensitive) == 0
                : AnsiCodePage::decode(f).trimmed().compare(order, Qt::CaseInsensitive) == 0;
        if (match) found.append(row);
    }
    return found;
}

}  // namespace

RecordRows searchMonth(const RecordMonth& month, const QString& search) {
    const QString text = search.trimmed();
    if (text.startsWith(QLatin1String("##"))) return byDay(month, askedDay(text.mid(2)));
    return byOrder(month, text);
}

}  // namespace dye
