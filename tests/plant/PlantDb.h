#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>

#include <functional>

#include "plant/PlantDatabase.h"
#include "plant/PlantSource.h"

namespace dye::test {

// An embedded Firebird plant database made by isql from the fixture's
// tables, and a connection of the test's own to set rows up and read them.
class PlantDb {
  public:
    explicit PlantDb(const QString& path) : path_(path) {}
    ~PlantDb() {
        if (!name_.isEmpty()) {
            {
                QSqlDatabase db = QSqlDatabase::database(name_, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(name_);
        }
    }

    // Creates the database; `extra` is SQL run after the tables.
    bool create(const QString& extra = {}) {
        QFile tables(QStringLiteral(DYE_SOURCE_DIR "/tests/fixtures/plant.sql"));
        if (!tables.open(QIODevice::ReadOnly)) return false;
        const QByteArray script = "CREATE DATABASE '" + path_.toUtf8() +
                                  "' USER 'SYSDBA' DEFAULT CHARACTER SET UTF8;\n" +
                                  tables.readAll() + extra.toUtf8() + "\nCOMMIT;\n";
        QProcess isql;
        isql.start(QStringLiteral(DYE_ISQL), {QStringLiteral("-q")});
        isql.write(script);
        isql.closeWriteChannel();
        isql.waitForFinished(60000);
        const QByteArray err = isql.readAllStandardError();
        if (!err.trimmed().isEmpty()) ADD_FAILURE() << err.toStdString();
        return isql.exitCode() == 0 && QFile::exists(path_);
    }

    QSqlDatabase db() {
        if (name_.isEmpty()) {
            name_ = QStringLiteral("test-plant-") + path_;
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name_);
            db.setDatabaseName(path_);
            db.setUserName(QStringLiteral("SYSDBA"));
            if (!db.open()) ADD_FAILURE() << db.lastError().text().toStdString();
        }
        return QSqlDatabase::database(name_);
    }
    void close() {
        if (!name_.isEmpty()) QSqlDatabase::database(name_, false).close();
    }

    bool exec(const QString& sql) {
        QSqlQuery q(db());
        if (q.exec(sql)) return true;
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return false;
    }
    // Every row of `sql`, each as its values joined by "|".
    QStringList rows(const QString& sql) {
        QSqlQuery q(db());
        QStringList out;
        if (!q.exec(sql)) {
            ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
            return out;
        }
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < q.record().count(); ++c) values << q.value(c).toString().trimmed();
            out << values.join(u'|');
        }
        return out;
    }
    const QString& path() const { return path_; }
    // The database as the station's settings name it, with the test's account.
    PlantSource source(const QString& password = {}) const {
        PlantSource s;
        s.dataSource = QStringLiteral("firebird:") + path_;
        s.user = QStringLiteral("SYSDBA");
        s.password = password;
        return s;
    }

  private:
    QString path_;
    QString name_;
};

// Runs `work` on a synchronous worker of the test's own; its log lines go to `log`.
inline void runOnce(const PlantSource& source, const PlantDatabase::Work& work,
                    QStringList* log = nullptr) {
    PlantDatabase db(PlantDatabase::Mode::Synchronous);
    db.setLog([log](const QString& line) {
        if (log) *log << line;
    });
    db.submit(source, work, nullptr);
    db.deliver();
}

}  // namespace dye::test
