#include "run/RunLists.h"

#include "jobs/JobFile.h"
#include "run/RunContext.h"
#include "station/StationState.h"

namespace dye {

QString fillRecipeList(RunContext& c) {
    JobFile file = recipeStoreFile(c.workdir);
    ListBox& list = c.state.form3.List1;
    list.clear();
    list.items = file.recipeListTexts();
    return file.errorString();
}

QString fillQueueLists(RunContext& c) {
    JobFile file = jobQueueFile(c.workdir);
    QList<double> queuedAt;
    const QStringList texts = file.queueListTexts(&queuedAt);
    c.state.form3.List2.clear();
    c.state.form3.List2.items = texts;
    c.state.form3.List2.ItemData = queuedAt;
    c.state.form11.List1.clear();
    c.state.form11.List1.items = texts;
    return file.errorString();
}

}  // namespace dye
