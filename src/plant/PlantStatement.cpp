#include "plant/PlantStatement.h"

#include <QJsonArray>
#include <QJsonValue>

namespace dye {

namespace {

QString literal(const QVariant& v) {
    if (v.isNull()) return QStringLiteral("NULL");
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return v.toString();
        default: {
            QString text = v.toString();
            text.replace(u'\'', QStringLiteral("''"));
            return u'\'' + text + u'\'';
        }
    }
}

}  // namespace

QString PlantStatement::shown() const {
    QString out;
    out.reserve(text.size() + 16 * values.size());
    qsizetype next = 0;
    bool quoted = false;
    for (const QChar ch : text) {
        if (ch == u'\'') quoted = !quoted;
        if (ch == u'?' && !quoted && next < values.size()) {
            out += literal(values[next++]);
            continue;
        }
        out += ch;
    }
    return out;
}

QJsonObject PlantStatement::toJson() const {
    QJsonArray array;
    for (const QVariant& v : values) {
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int ||
            v.typeId() == QMetaType::LongLong)
            array.append(QJsonObject{{QStringLiteral("n"), v.toDouble()}});
        else
            array.append(QJsonObject{{QStringLiteral("s"), v.toString()}});
    }
    QJsonObject o{{QStringLiteral("sql"), text}, {QStringLiteral("values"), array}};
    if (earlier > 0) o.insert(QStringLiteral("earlier"), earlier);
    return o;
}

PlantStatement PlantStatement::fromJson(const QJsonObject& o) {
    PlantStatement s;
    s.text = o.value(QStringLiteral("sql")).toString();
    for (const QJsonValue& v : o.value(QStringLiteral("values")).toArray()) {
        const QJsonObject value = v.toObject();
        if (value.contains(QStringLiteral("n")))
            s.values << value.value(QStringLiteral("n")).toDouble();
        else
            s.values << value.value(QStringLiteral("s")).toString();
    }
    s.earlier = o.value(QStringLiteral("earlier")).toInt();
    return s;
}

bool plantNumber(const QString& text, double* value) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && value) *value = v;
    return ok;
}

}  // namespace dye
