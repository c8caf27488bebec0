#pragma once

#include <QByteArray>

namespace dye {

class LangText;

// GET /: one self-contained page (inline style and script, nothing fetched
// from elsewhere) that reads /api/status every 2 s and shows the job on the
// machine row by row, the queue, the alarms, the link and the balances. Its
// headings are in `language` (0 Traditional Chinese, 1 English, 2
// Simplified Chinese): the grid's column captions from the station's
// language table, the rest from a small table of the page's own.
QByteArray statusPage(const LangText& lang, int language);

}  // namespace dye
