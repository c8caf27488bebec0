#include "RecordSearch.h"

namespace dye {
namespace {

// The search text, worked out once for a whole file.
struct Search {
    explicit Search(const QString& text)
        : byDay(text.startsWith(QLatin1String("##"))),
          key(byDay ? text.mid(2, 2) : text.trimmed()) {}

    bool matches(const DailyRecord& record) const {
        return byDay ? dayIs(record.FinishText) : record.OrderNo.trimmed() == key;
    }

    // Characters 9 and 10 of the finish time as the record holds it (30
    // characters, space-padded) equal the two characters after "##".
    bool dayIs(const QString& finishText) const {
        if (key.size() != 2) return false;
        for (int i = 0; i < 2; ++i) {
            const QChar c = 8 + i < finishText.size() ? finishText[8 + i] : QLatin1Char(' ');
            if (c != key[i]) return false;
        }
        return true;
    }

    bool byDay;
    QString key;
};

}  // namespace

bool recordMatches(const DailyRecord& record, const QString& search) {
    return Search(search).matches(record);
}

QList<DailyRecord> searchRecords(const QList<DailyRecord>& records, const QString& search) {
    const Search s(search);
    QList<DailyRecord> found;
    for (const DailyRecord& r : records)
        if (s.matches(r)) found.append(r);
    return found;
}

}  // namespace dye
