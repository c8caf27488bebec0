#pragma once

#include <QStringList>

#include <functional>
#include <optional>

#include "files/jobs/JobRecord.h"

namespace dye {

class JobFile;
class MachineSettings;
struct Form3;
struct RunContext;
struct Wording;

// The main screen's recipe editor: order Text2, bucket Combo1, water Text3,
// row i's code Text1(i - 1) and weight Text1(i + 9).

// The recipe on the editor as a record of its own: every field blank but the
// typed ones (trimmed), so that nothing of an earlier job reaches it.
JobRecord editorRecord(const Form3& f);
// Shows a record on the editor; rows without a code stay empty.
void showInEditor(Form3& f, const JobRecord& job);
// Empties every field of the editor.
void clearEditor(Form3& f);

// Enter in an entry box moves the focus along the recipe: from the order
// number to the first code, from a code to its weight, from a weight to the
// next row's code. The Text1 box that takes the focus, -1 for none.
int enterFromText2();
int enterFromText1(int box);

// Why the recipe on the editor may be neither saved nor queued ("" when it
// may): its rows, the widths of its fields, a bucket the machine cannot reach;
// in the language of `settings`. Every screen that queues or saves a job
// asks it.
QString editorProblem(const JobRecord& job, const MachineSettings& settings);

// Whether `file` (the queue or the recipe store) holds a record of `order`;
// nothing, with `error` saying why, when the file cannot be read.
std::optional<bool> holdsOrder(JobFile& file, const QString& order, QString* error);

// Asks `question` (in the station's language, %1 and %2 filled from `args`)
// with Yes and No over the main screen; `onAnswer` gets true for Yes. The
// question never blocks: whatever the answer acts on is checked again then.
void askYesNo(const RunContext& c, const Wording& question, const QStringList& args,
              std::function<void(bool)> onAnswer);

}  // namespace dye
