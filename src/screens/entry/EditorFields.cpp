#include "EditorFields.h"

#include "core/Dialogs.h"
#include "core/Val.h"
#include "files/jobs/JobFile.h"
#include "files/jobs/RecipeCheck.h"
#include "files/language/Wording.h"
#include "files/settings/MachineSettings.h"
#include "model/Form3.h"
#include "run/RunContext.h"
#include "station/StationState.h"

namespace dye {

JobRecord editorRecord(const Form3& f) {
    JobRecord job;
    job.OrderNo = f.Text2.trimmed();
    job.BucketNo = f.Combo1.Text.trimmed();
    job.WaterAmount = f.Text3.trimmed();
    for (int i = 0; i < JobRecord::kLines; ++i) {
        job.Code[size_t(i)] = f.Text1[i].trimmed();
        job.Weight[size_t(i)] = f.Text1[i + JobRecord::kLines].trimmed();
    }
    return job;
}

void showInEditor(Form3& f, const JobRecord& job) {
    for (QString& box : f.Text1) box.clear();
    f.Text2 = job.OrderNo.trimmed();
    f.Combo1.Text = job.BucketNo.trimmed();
    f.Text3 = job.WaterAmount.trimmed();
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString code = job.Code[size_t(i)].trimmed();
        if (code.isEmpty()) continue;
        f.Text1[i] = code;
        f.Text1[i + JobRecord::kLines] = job.Weight[size_t(i)].trimmed();
    }
}

void clearEditor(Form3& f) {
    f.Text2.clear();
    f.Combo1.Text.clear();
    f.Text3.clear();
    for (QString& box : f.Text1) box.clear();
}

int enterFromText2() {
    return 0;
}

int enterFromText1(int box) {
    if (box >= 0 && box < JobRecord::kLines) return box + JobRecord::kLines;
    if (box >= JobRecord::kLines && box < 2 * JobRecord::kLines - 1)
        return box - JobRecord::kLines + 1;
    return -1;
}

void askYesNo(const RunContext& c, const Wording& question, const QStringList& args,
              std::function<void(bool)> onAnswer) {
    const int language = c.state.settings.language();
    QString text = wordingIn(language, question);
    // Both at once, so that a "%" typed in an order number is never filled in.
    if (args.size() == 1) text = text.arg(args[0]);
    if (args.size() >= 2) text = text.arg(args[0], args[1]);
    c.dialogs.choose(text, c.state.form3.Caption, yesNo(language),
                     [onAnswer = std::move(onAnswer)](int pick) {
                         if (onAnswer) onAnswer(pick == 0);
                     });
}

QString editorProblem(const JobRecord& job, const MachineSettings& settings) {
    const int language = settings.language();
    QString why = recipeProblem(job, settings, language);
    if (why.isEmpty()) why = unstorableText(job, language);
    if (why.isEmpty()) why = bucketProblem(job.BucketNo, settings, language);
    return why;
}

std::optional<bool> holdsOrder(JobFile& file, const QString& order, QString* error) {
    bool held = false;
    for (const JobRecord& r : file.records()) held = held || r.OrderNo.trimmed() == order;
    if (!file.errorString().isEmpty()) {
        if (error) *error = file.errorString();
        return std::nullopt;
    }
    return held;
}

}  // namespace dye
