#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/StationLock.h"

using namespace dye;

namespace {

// The built program on the simulated machine in `dir`.
void start(QProcess& p, const QString& dir, QStringList arguments) {
    arguments << QStringLiteral("--simulate") << QStringLiteral("--headless")
              << QStringLiteral("--workdir") << dir;
    p.start(QStringLiteral(DYESTATION_PATH), arguments);
}

// Waits (with a generous limit) until the lock file names `p`'s process;
// false when `p` ends first or the limit passes.
bool holdsLock(QProcess& p, const QString& dir) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(kStationLockFileName));
    const QByteArray pid = QByteArray::number(p.processId()) + '\n';
    for (int i = 0; i < 1200; ++i) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.readAll().startsWith(pid)) return true;
        if (p.waitForFinished(50)) return false;
    }
    return false;
}

struct Outcome {
    int exitCode = -1;
    QString err;
};

Outcome runToEnd(const QString& dir, const QStringList& arguments) {
    QProcess p;
    start(p, dir, arguments);
    Outcome r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

void stop(QProcess& p) {
    p.kill();
    p.waitForFinished();
}

}  // namespace

// A second station on a running one's folder is refused at start, naming the
// running one, and takes nothing from the queue; read-only modes are not
// refused. A killed station leaves its lock file (and one killed in the
// middle of taking a lock over, the guard of that), and the next station
// takes the folder over; a station that ends normally removes its lock.
TEST(StationLock, OneStationWorksAFolderUntilItEndsOrIsKilled) {
    QTemporaryDir dir;
    QProcess first;
    start(first, dir.path(), {});
    ASSERT_TRUE(holdsLock(first, dir.path()));

    const Outcome second = runToEnd(dir.path(), {QStringLiteral("--until-idle")});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains(QStringLiteral("A station already works in")));
    EXPECT_TRUE(second.err.contains(QStringLiteral("process %1 ").arg(first.processId())))
        << second.err.toStdString();
    EXPECT_FALSE(QDir(dir.path()).exists(QStringLiteral("data")));  // nothing recorded

    QProcess report;
    report.start(QStringLiteral(DYESTATION_PATH),
                 {QStringLiteral("--report"), QStringLiteral("202611"), QStringLiteral("--workdir"),
                  dir.path()});
    ASSERT_TRUE(report.waitForFinished(60000));
    EXPECT_FALSE(QString::fromLocal8Bit(report.readAllStandardError())
                     .contains(QStringLiteral("already works")));

    EXPECT_EQ(first.state(), QProcess::Running);
    stop(first);  // SIGKILL: no chance to remove the lock
    ASSERT_TRUE(QDir(dir.path()).exists(QString::fromLatin1(kStationLockFileName)));
    QFile guard(
        QDir(dir.path())
            .filePath(QString::fromLatin1(kStationLockFileName) + QStringLiteral(".rmlock")));
    ASSERT_TRUE(guard.open(QIODevice::WriteOnly));
    ASSERT_TRUE(guard.setFileTime(QDateTime::currentDateTime().addSecs(-2),
                                  QFileDevice::FileModificationTime));
    guard.close();

    QProcess next;
    start(next, dir.path(), {});
    ASSERT_TRUE(holdsLock(next, dir.path()));
    const Outcome third = runToEnd(dir.path(), {QStringLiteral("--until-idle")});
    EXPECT_EQ(third.exitCode, 1);
    EXPECT_TRUE(third.err.contains(QStringLiteral("process %1 ").arg(next.processId())))
        << third.err.toStdString();
    stop(next);

    const Outcome last = runToEnd(dir.path(), {QStringLiteral("--run-for"), QStringLiteral("1")});
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_FALSE(QDir(dir.path()).exists(QString::fromLatin1(kStationLockFileName)));
}
