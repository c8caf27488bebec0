#include "plant/PlantStatement.h"

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

bool plantNumber(const QString& text, double* value) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && value) *value = v;
    return ok;
}

}  // namespace dye
