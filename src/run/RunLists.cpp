#include "run/RunLists.h"

#include <algorithm>

#include "files/jobs/JobFile.h"
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
    QStringList texts = file.queueListTexts(&queuedAt, kQueueListLines);
    const int more = file.errorString().isEmpty() ? file.count() - int(texts.size()) : 0;
    if (more > 0) texts << queueMoreLine(more);
    c.state.form3.List2.clear();
    c.state.form3.List2.items = texts;
    c.state.form3.List2.ItemData = queuedAt;
    c.state.form11.List1.clear();
    c.state.form11.List1.items = texts;
    return file.errorString();
}

QString queueMoreLine(int more) {
    return QStringLiteral("... %1 more").arg(more);
}

int queueMoreCount(const QString& line) {
    if (!line.startsWith(QLatin1String("... ")) || !line.endsWith(QLatin1String(" more"))) return 0;
    return line.mid(4, line.size() - 9).toInt();
}

}  // namespace dye
