#include "plant/PlantDatabase.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlError>

#include "plant/PlantSession.h"

namespace dye {

namespace {

QAtomicInteger<quint64> connectionSerial;

QString openMessage(const QSqlError& e) {
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.text().trimmed();
    return text.simplified();
}

}  // namespace

PlantDatabase::PlantDatabase(Mode mode)
    : mode_(mode),
      connectionName_(
          QStringLiteral("dye-plant-%1").arg(connectionSerial.fetchAndAddRelaxed(1) + 1)),
      receiver_(std::make_unique<QObject>()) {}

// Without close() the pieces finished are not handed on: their `done`s may
// reach objects that are gone by now.
PlantDatabase::~PlantDatabase() {
    stopWorker();
}

void PlantDatabase::stopWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_ -= int(todo_.size());
        todo_.clear();
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void PlantDatabase::close() {
    closed_ = true;
    stopWorker();
    deliver();
}

void PlantDatabase::submit(const PlantSource& source, Work work, Done done) {
    if (closed_) return;
    ++pending_;
    Task task{source, std::move(work), std::move(done), nullptr};
    if (mode_ == Mode::Synchronous) {
        run(task);
        std::lock_guard lock(mutex_);
        ready_.push_back(std::move(task));
        return;
    }
    {
        std::lock_guard lock(mutex_);
        todo_.push_back(std::move(task));
        if (!worker_.joinable()) worker_ = std::thread([this] { workerLoop(); });
    }
    wake_.notify_one();
}

// Opens the connection (closing nothing: each piece of work has its own),
// runs the work and closes it again, whatever happened.
void PlantDatabase::run(Task& task) {
    const PlantSource& s = task.source;
    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(s.driver(), connectionName_);
        if (!db.isValid()) {
            openError = QStringLiteral("the %1 driver is not installed").arg(s.driver());
        } else if (!s.isSet()) {
            openError = QStringLiteral("no plant database is set (settings field 15)");
        } else {
            if (s.driver() == u"QODBC") {
                // Qt's ODBC driver splices the user and the password into
                // "DSN=...;UID=...;PWD=...": each goes in as an attribute value.
                db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
                db.setDatabaseName(s.dataSource);
                db.setUserName(odbcAttributeValue(s.user));
                db.setPassword(odbcAttributeValue(s.password));
            } else {
                db.setHostName(s.host());
                db.setDatabaseName(s.databasePath());
                db.setUserName(s.user);
                db.setPassword(s.password);
            }
            if (!db.open()) {
                openError = openMessage(db.lastError());
                if (openError.isEmpty()) openError = QStringLiteral("it did not open");
            }
        }
        task.session = std::make_shared<PlantSession>(&db, openError);
        if (openError.isEmpty())
            task.session->lines << QStringLiteral("   <登入成功>");
        else
            task.session->lines
                << QStringLiteral("<plant> cannot connect to %1: %2").arg(s.shown(), openError);
        if (task.work) task.work(*task.session);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

void PlantDatabase::workerLoop() {
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !todo_.empty(); });
            if (stopping_) return;
            task = std::move(todo_.front());
            todo_.pop_front();
        }
        run(task);
        {
            // A piece finished while stopping is kept: close() delivers it.
            std::lock_guard lock(mutex_);
            ready_.push_back(std::move(task));
            if (stopping_) return;
        }
        QMetaObject::invokeMethod(
            receiver_.get(), [this] { deliver(); }, Qt::QueuedConnection);
    }
}

void PlantDatabase::deliver() {
    for (;;) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (ready_.empty()) return;
            task = std::move(ready_.front());
            ready_.pop_front();
        }
        --pending_;
        if (log_)
            for (const QString& line : task.session->lines) log_(line);
        if (task.done) task.done(*task.session);
    }
}

}  // namespace dye
