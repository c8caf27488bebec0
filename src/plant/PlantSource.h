#pragma once

#include <QDir>
#include <QString>

namespace dye {

class MachineSettings;

// Where the plant database is and the account to use, read from the
// settings fields at the moment of use: field 15 names an ODBC data source,
// or "firebird:<path>" / "firebird:<host>:<path>" a Firebird database
// (embedded when no host is given; a relative path is taken from the
// working directory); fields 13 and 14 are the user and password.
struct PlantSource {
    QString dataSource;
    QString user;
    QString password;
    QDir workdir;

    static PlantSource fromSettings(const MachineSettings& settings, const QDir& workdir);

    bool isSet() const { return !dataSource.isEmpty(); }
    // The Qt Sql driver that serves it: QIBASE or QODBC.
    QString driver() const;
    // Firebird: the host ("" when embedded) and the database path.
    QString host() const;
    QString databasePath() const;
    // What the logs say about it (never the password).
    QString shown() const;
};

// `value` as an ODBC connection-string attribute value: one that holds `;`,
// `}` or `=`, or starts with `{`, is wrapped in braces with each `}` doubled;
// any other stands as it is.
QString odbcAttributeValue(const QString& value);

}  // namespace dye
