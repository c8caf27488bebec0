#include "plant/PlantOutbox.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/FileSync.h"
#include "plant/WriteBackStatements.h"

namespace dye {

namespace {

struct KindName {
    StatementKind kind;
    const char* name;
};
constexpr KindName kKinds[] = {{StatementKind::DraymorRow, "draymor-row"},
                               {StatementKind::TalbertRow, "talbert-row"},
                               {StatementKind::QuorbanRow, "quorban-row"},
                               {StatementKind::MarigoldInsert, "marigold-insert"},
                               {StatementKind::MarigoldClose, "marigold-close"}};

QString nameOf(StatementKind kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind) return QLatin1String(k.name);
    return {};
}

StatementKind kindNamed(const QString& name) {
    for (const KindName& k : kKinds)
        if (name == QLatin1String(k.name)) return k.kind;
    return StatementKind::Other;
}

// One line: {"kind":..., "values":[{"n":12.5},{"s":"text"},...], "earlier":n}.
QByteArray encode(const PlantStatement& s) {
    QJsonArray values;
    for (const QVariant& v : s.values) {
        if (v.typeId() == QMetaType::Double)
            values.append(QJsonObject{{QStringLiteral("n"), v.toDouble()}});
        else
            values.append(QJsonObject{{QStringLiteral("s"), v.toString()}});
    }
    QJsonObject o{{QStringLiteral("kind"), nameOf(s.kind)}, {QStringLiteral("values"), values}};
    if (s.earlier > 0) o.insert(QStringLiteral("earlier"), s.earlier);
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

// The statement a line stands for, or why it stands for none. A line that
// names its statement by text ("sql") is read when the text is exactly one
// of the station's own; the text is never run, only recognised.
std::optional<PlantStatement> decode(const QByteArray& line, QString* problem) {
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        *problem = QStringLiteral("not a statement of the outbox");
        return {};
    }
    const QJsonObject o = doc.object();
    StatementKind kind = StatementKind::Other;
    if (o.contains(QStringLiteral("kind")))
        kind = kindNamed(o.value(QStringLiteral("kind")).toString());
    else if (o.contains(QStringLiteral("sql")))
        kind = completionKindOf(o.value(QStringLiteral("sql")).toString());
    if (kind == StatementKind::Other) {
        *problem = QStringLiteral("not one of the station's write-back statements");
        return {};
    }
    QVariantList values;
    for (const QJsonValue& v : o.value(QStringLiteral("values")).toArray()) {
        const QJsonObject value = v.toObject();
        if (value.size() == 1 && value.value(QStringLiteral("n")).isDouble())
            values << value.value(QStringLiteral("n")).toDouble();
        else if (value.size() == 1 && value.value(QStringLiteral("s")).isString())
            values << value.value(QStringLiteral("s")).toString();
        else
            values << QVariant();  // fits no statement
    }
    const QJsonValue earlier = o.value(QStringLiteral("earlier"));
    const double before = earlier.isUndefined() ? 0 : earlier.toDouble(-1);
    std::optional<PlantStatement> s;
    if (before >= 0 && before <= 1000 && before == int(before))
        s = completionStatement(kind, values, int(before));
    if (!s) *problem = QStringLiteral("its values do not fit a %1 statement").arg(nameOf(kind));
    return s;
}

}  // namespace

bool PlantOutbox::load(QList<Line>& lines, QString* error) const {
    QFile f(path_);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    int number = 0;
    while (!f.atEnd()) {
        Line line;
        line.raw = f.readLine();
        line.number = ++number;
        const QByteArray text = line.raw.trimmed();
        if (text.isEmpty()) continue;  // a blank line holds nothing
        line.statement = decode(text, &line.problem);
        lines << line;
    }
    return true;
}

bool PlantOutbox::write(const QList<Line>& lines, QString* error) {
    QByteArray bytes;
    for (const Line& line : lines) {
        bytes += line.raw;
        if (!bytes.endsWith('\n')) bytes += '\n';
    }
    return writeFileAtomically(path_, bytes, error);
}

QList<PlantStatement> PlantOutbox::read(QString* error) const {
    QList<Line> lines;
    load(lines, error);
    QList<PlantStatement> out;
    for (const Line& line : lines)
        if (line.statement) out << *line.statement;
    return out;
}

bool PlantOutbox::append(const QList<PlantStatement>& statements, QString* error) {
    QList<Line> lines;
    if (!load(lines, error)) return false;
    for (const PlantStatement& s : statements) {
        if (!completionStatement(s.kind, s.values, s.earlier)) {
            if (error) *error = QStringLiteral("not a write-back statement: ") + s.shown();
            return false;
        }
        lines << Line{encode(s), 0, s, {}};
    }
    return write(lines, error);
}

bool PlantOutbox::removeFirst(int count, QString* error) {
    QList<Line> lines;
    if (!load(lines, error)) return false;
    QList<Line> kept;
    for (const Line& line : lines) {
        if (line.statement && count > 0)
            --count;
        else
            kept << line;
    }
    return write(kept, error);
}

bool PlantOutbox::setAside(QStringList* reports, QString* error) {
    QList<Line> lines;
    if (!load(lines, error)) return false;
    QList<Line> kept;
    QByteArray rejected;
    for (const Line& line : lines) {
        if (line.statement) {
            kept << line;
            continue;
        }
        rejected += line.raw;
        if (!rejected.endsWith('\n')) rejected += '\n';
        if (reports)
            *reports << QStringLiteral("<plant> line %1 of %2 is set aside in %3, not sent: %4")
                            .arg(line.number)
                            .arg(QLatin1String(kFileName), QLatin1String(kRejectedFileName),
                                 line.problem);
    }
    if (rejected.isEmpty()) return true;
    QFile f(rejectedPath_);
    const bool existed = f.exists();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append) || f.write(rejected) != rejected.size() ||
        !syncToDisk(f)) {
        if (error) *error = rejectedPath_ + QStringLiteral(": ") + f.errorString();
        return false;
    }
    f.close();
    if (!existed) syncDirectory(rejectedPath_);
    return write(kept, error);
}

}  // namespace dye
