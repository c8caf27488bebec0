#pragma once

#include <QString>

#include "MonthFiles.h"

namespace dye {

// The viewer's line of record `row`: order number (20), bucket (10), finish
// time (30), water amount (10), actual water (10), then for each of the ten
// rows its code (10), recipe weight (10) and actual weight (10), run
// together at those widths so that a fixed-pitch font shows columns. Widths
// count code-page bytes, which is how wide a double-byte character is
// drawn; a longer text is cut for the line only (a code keeps its 20
// characters in the record).
QString recordLine(const RecordMonth& month, qsizetype row);

// The column headers of the lines recordLine makes, in `language`, each
// padded to its column's width (at least one space after it).
QString recordHeader(int language);

// The headers of the totals lines, in `language`.
QString totalsHeader(int language);

// `text` cut or space-padded to `width` code-page bytes, never splitting a
// double-byte character.
QString fixedWidth(const QString& text, int width);

}  // namespace dye
