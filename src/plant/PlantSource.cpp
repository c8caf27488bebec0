#include "plant/PlantSource.h"

#include "files/settings/MachineSettings.h"

namespace dye {

namespace {

const QString kFirebird = QStringLiteral("firebird:");

bool isFirebird(const QString& source) {
    return source.startsWith(kFirebird);
}

// The text after "firebird:": a path, or a host, ':' and a path. A path
// starts with '/' (or a drive letter), so the first ':' of anything else
// ends the host name.
QString firebirdPart(const QString& source, bool wantHost) {
    const QString rest = source.mid(kFirebird.size());
    const bool drive = rest.size() > 1 && rest[1] == u':' && rest[0].isLetter();
    const qsizetype colon = rest.indexOf(u':');
    if (rest.startsWith(u'/') || drive || colon < 0) return wantHost ? QString() : rest;
    return wantHost ? rest.left(colon) : rest.mid(colon + 1);
}

}  // namespace

PlantSource PlantSource::fromSettings(const MachineSettings& settings, const QDir& workdir) {
    PlantSource s;
    s.user = settings.Text1(SettingsField::DatabaseUser).trimmed();
    s.password = settings.Text1(SettingsField::DatabasePassword).trimmed();
    s.dataSource = settings.Text1(SettingsField::DataSource).trimmed();
    s.workdir = workdir;
    return s;
}

QString PlantSource::driver() const {
    return isFirebird(dataSource) ? QStringLiteral("QIBASE") : QStringLiteral("QODBC");
}

QString PlantSource::host() const {
    return isFirebird(dataSource) ? firebirdPart(dataSource, true) : QString();
}

QString PlantSource::databasePath() const {
    if (!isFirebird(dataSource)) return dataSource;
    const QString path = firebirdPart(dataSource, false);
    if (!host().isEmpty()) return path;
    return QDir::cleanPath(workdir.absoluteFilePath(path));
}

QString odbcAttributeValue(const QString& value) {
    if (!value.startsWith(u'{') && !value.contains(u';') && !value.contains(u'}') &&
        !value.contains(u'='))
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + quoted + u'}';
}

QString PlantSource::shown() const {
    QString who = user.isEmpty() ? QString() : QStringLiteral(" as ") + user;
    if (driver() == u"QODBC") return QStringLiteral("ODBC data source ") + dataSource + who;
    const QString where = host().isEmpty() ? QStringLiteral("embedded ") : host() + u' ';
    return QStringLiteral("Firebird ") + where + databasePath() + who;
}

}  // namespace dye
