#pragma once

#include <QString>

namespace dye {

struct RunContext;

// The main screen's lists of the job files, rebuilt from the files.
// Recipes (List1) newest first; the queue (List2, and the order list
// window's List1) oldest first, List2 with each job's queueing time as its
// ItemData. A file that cannot be read leaves its list
// empty; the reason comes back ("" when the file was read).
QString fillRecipeList(RunContext& c);
QString fillQueueLists(RunContext& c);

}  // namespace dye
