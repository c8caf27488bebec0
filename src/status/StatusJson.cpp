#include "status/StatusJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/WeightText.h"

namespace dye {
namespace {

QJsonValue timeValue(const QDateTime& t) {
    if (!t.isValid()) return QJsonValue::Null;
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QJsonValue weightValue(const QString& text) {
    const std::optional<double> w = readWeight(text);
    return w ? QJsonValue(*w) : QJsonValue::Null;
}

QJsonObject linkObject(const StatusSnapshot& s) {
    return {
        {QStringLiteral("up"), s.linkUp},
        {QStringLiteral("usable"), s.linkUsable},
        {QStringLiteral("lastAnswer"), s.lastAnswer ? timeValue(*s.lastAnswer) : QJsonValue::Null},
        {QStringLiteral("losses"), s.linkLosses},
        {QStringLiteral("reason"), s.linkReason}};
}

QJsonArray alarmsArray(const StatusSnapshot& s) {
    QJsonArray out;
    for (const StatusAlarm& a : s.alarms)
        out.append(QJsonObject{{QStringLiteral("text"), a.text},
                               {QStringLiteral("title"), a.title},
                               {QStringLiteral("since"), timeValue(a.since)}});
    return out;
}

QJsonValue jobValue(const StatusSnapshot& s) {
    if (s.order.isEmpty()) return QJsonValue::Null;
    QJsonArray rows;
    int number = 0;
    for (const StatusRow& r : s.rows)
        rows.append(QJsonObject{{QStringLiteral("row"), ++number},
                                {QStringLiteral("code"), r.code},
                                {QStringLiteral("recipe"), weightValue(r.recipe)},
                                {QStringLiteral("actual"), weightValue(r.actual)},
                                {QStringLiteral("tube"), r.tube},
                                {QStringLiteral("balance"), r.balance},
                                {QStringLiteral("state"), QLatin1String(rowStateName(r.state))}});
    return QJsonObject{{QStringLiteral("order"), s.order},
                       {QStringLiteral("bucket"), s.bucket},
                       {QStringLiteral("water"), weightValue(s.water)},
                       {QStringLiteral("actualWater"), weightValue(s.actualWater)},
                       {QStringLiteral("rows"), rows}};
}

QJsonObject queueObject(const StatusSnapshot& s) {
    QJsonArray jobs;
    for (const StatusQueueEntry& e : s.queue)
        jobs.append(
            QJsonObject{{QStringLiteral("order"), e.order}, {QStringLiteral("bucket"), e.bucket}});
    return {{QStringLiteral("jobs"), jobs},
            {QStringLiteral("more"), s.queueMore},
            {QStringLiteral("length"), s.queueLength()}};
}

QJsonArray balancesArray(const StatusSnapshot& s) {
    QJsonArray out;
    for (size_t i = 0; i < s.balances.size(); ++i) {
        const StatusBalance& b = s.balances[i];
        out.append(QJsonObject{{QStringLiteral("balance"), int(i) + 1},
                               {QStringLiteral("weight"),
                                b.read ? QJsonValue(b.weight) : QJsonValue(QJsonValue::Null)},
                               {QStringLiteral("fresh"), b.fresh},
                               {QStringLiteral("overload"), b.overload}});
    }
    return out;
}

}  // namespace

QByteArray statusJson(const StatusSnapshot& s) {
    const QJsonObject root{{QStringLiteral("machineType"), s.machineType},
                           {QStringLiteral("language"), s.language},
                           {QStringLiteral("time"), timeValue(s.now)},
                           {QStringLiteral("link"), linkObject(s)},
                           {QStringLiteral("alarms"), alarmsArray(s)},
                           {QStringLiteral("waiting"), s.waitReason},
                           {QStringLiteral("run"), s.runStatus},
                           {QStringLiteral("job"), jobValue(s)},
                           {QStringLiteral("queue"), queueObject(s)},
                           {QStringLiteral("balances"), balancesArray(s)},
                           {QStringLiteral("plantWaiting"), s.plantWaiting}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

}  // namespace dye
