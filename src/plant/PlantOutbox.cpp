#include "plant/PlantOutbox.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace dye {

QList<PlantStatement> PlantOutbox::read(QString* error) const {
    QList<PlantStatement> out;
    QFile f(path_);
    if (!f.exists()) return out;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return out;
    }
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (line.isEmpty()) continue;
        const PlantStatement s = PlantStatement::fromJson(QJsonDocument::fromJson(line).object());
        if (!s.text.isEmpty()) out << s;
    }
    return out;
}

bool PlantOutbox::write(const QList<PlantStatement>& statements, QString* error) {
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    for (const PlantStatement& s : statements)
        f.write(QJsonDocument(s.toJson()).toJson(QJsonDocument::Compact) + '\n');
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

bool PlantOutbox::append(const QList<PlantStatement>& statements, QString* error) {
    QString readError;
    QList<PlantStatement> all = read(&readError);
    if (!readError.isEmpty()) {
        if (error) *error = readError;
        return false;
    }
    all << statements;
    return write(all, error);
}

bool PlantOutbox::removeFirst(int count, QString* error) {
    QString readError;
    QList<PlantStatement> all = read(&readError);
    if (!readError.isEmpty()) {
        if (error) *error = readError;
        return false;
    }
    all.remove(0, qMin<qsizetype>(count, all.size()));
    return write(all, error);
}

}  // namespace dye
