#include "PtyServer.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "sim/SimulatedController.h"

namespace dye {

namespace {

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B19200);
    cfsetospeed(&t, B19200);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace

PtyServer::PtyServer(SimulatedController& controller, QString linkPath)
    : controller_(controller), linkPath_(std::move(linkPath)) {}

PtyServer::~PtyServer() {
    if (linked_) ::unlink(QFile::encodeName(linkPath_).constData());
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PtyServer::start(QString* error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return *error = systemError("posix_openpt"), false;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return *error = systemError("grantpt/unlockpt"), false;
    const char* name = ::ptsname(master_);
    if (!name) return *error = systemError("ptsname"), false;
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0 || !makeRaw(slave_) || !makeRaw(master_))
        return *error = systemError("raw mode"), false;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);

    const QByteArray link = QFile::encodeName(linkPath_);
    const QFileInfo existing(linkPath_);
    if (existing.isSymLink()) {
        ::unlink(link.constData());
    } else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a link").arg(linkPath_);
        return false;
    }
    if (::symlink(name, link.constData()) != 0) return *error = systemError("symlink"), false;
    linked_ = true;
    return true;
}

int PtyServer::run(const std::atomic<bool>& stop, const std::function<void()>& between) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point t0 = Clock::now();
    auto nowUs = [&] {
        return qint64(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count());
    };
    struct Pending {
        qint64 dueUs;
        QByteArray bytes;
    };
    std::deque<Pending> replies;
    char buffer[4096];
    while (!stop.load()) {
        qint64 now = nowUs();
        // Answers go out when their latency has passed. A line nobody reads
        // loses what does not fit in the terminal's buffer, as a wire would.
        while (!replies.empty() && replies.front().dueUs <= now) {
            const QByteArray& out = replies.front().bytes;
            qsizetype done = 0;
            while (done < out.size()) {
                const ssize_t n =
                    ::write(master_, out.constData() + done, size_t(out.size() - done));
                if (n > 0)
                    done += n;
                else if (n < 0 && errno == EINTR)
                    continue;
                else if (n < 0 && errno != EAGAIN)
                    return 1;
                else
                    break;
            }
            replies.pop_front();
        }
        int timeoutMs = 10;
        if (!replies.empty())
            timeoutMs = int(std::clamp<qint64>((replies.front().dueUs - now + 999) / 1000, 0, 10));
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno != EINTR) return 1;
        now = nowUs();
        if (between) between();
        controller_.advanceTo(now);
        if (ready <= 0 || !(p.revents & POLLIN)) continue;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) return 1;
        for (ssize_t i = 0; i < n; ++i) {
            LoopAnswer answer = controller_.receive(buffer[i], now);
            if (answer.bytes.isEmpty()) continue;
            // Answers keep their order even when a late one is followed by a prompt one.
            qint64 due = now + answer.latencyUs;
            if (!replies.empty()) due = std::max(due, replies.back().dueUs);
            replies.push_back(Pending{due, std::move(answer.bytes)});
        }
    }
    return 0;
}

}  // namespace dye
