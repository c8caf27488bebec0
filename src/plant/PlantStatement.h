#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace dye {

// Which of the station's own write-back statements a statement is: the
// outbox keeps a statement as its kind and values and rebuilds its text.
// Other statements (intakes, the status post, the test insert) are never kept.
enum class StatementKind {
    Other,
    DraymorRow,
    TalbertRow,
    QuorbanRow,
    MarigoldInsert,
    MarigoldClose
};

// One statement to the plant database: its text with a `?` for every value,
// and the values in order. Values are always bound, never spliced into the
// text; `shown()` gives the statement as a person reads it in the logs.
struct PlantStatement {
    QString text;
    QVariantList values;
    // How many statements with the same text and values come before this one
    // in its write-back (a line twice in one job): a repeat that may be
    // applied already is told from another line that is just the same.
    int earlier = 0;
    StatementKind kind = StatementKind::Other;

    // The text with each `?` replaced by its value: numbers as they are,
    // texts in single quotes with their own quotes doubled.
    QString shown() const;

    bool operator==(const PlantStatement&) const = default;
};

// A value as a number for a numeric column; false when the text is not one.
bool plantNumber(const QString& text, double* value);

}  // namespace dye
