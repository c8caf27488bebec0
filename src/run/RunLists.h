#pragma once

#include <QString>

namespace dye {

struct RunContext;

// The queue lists show the first jobs only, so that a long queue costs a
// refill little; a last line says how many more wait.
inline constexpr int kQueueListLines = 1000;

// The main screen's lists of the job files, rebuilt from the files.
// Recipes (List1) newest first; the queue (List2, and the order list
// window's List1) oldest first, its first kQueueListLines jobs and then
// queueMoreLine() when more wait, List2 with each job's queueing time as
// its ItemData (none for that last line). A file that cannot be read leaves
// its list empty; the reason comes back ("" when the file was read).
QString fillRecipeList(RunContext& c);
QString fillQueueLists(RunContext& c);
// The queue list's last line when `more` jobs wait beyond the lines shown.
QString queueMoreLine(int more);
// The number of jobs a queueMoreLine() text names; 0 for any other text.
int queueMoreCount(const QString& line);

}  // namespace dye
