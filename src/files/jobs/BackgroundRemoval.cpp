#include "files/jobs/BackgroundRemoval.h"

#include <QFileInfo>

#include <future>
#include <map>
#include <mutex>

#include "files/jobs/JobFile.h"

namespace dye::BackgroundRemoval {

namespace {

struct Pending {
    std::shared_future<QString> result;
    Then then;
};

// About a thousand jobs: below it a removal takes a few milliseconds.
std::atomic<qint64> limit{1 << 20};

std::mutex& lock() {
    static std::mutex m;
    return m;
}

std::map<QString, Pending>& pending() {
    static std::map<QString, Pending> removals;
    return removals;
}

std::shared_future<QString> underWay(const QString& path) {
    const std::lock_guard<std::mutex> guard(lock());
    const auto it = pending().find(path);
    return it == pending().end() ? std::shared_future<QString>() : it->second.result;
}

}  // namespace

qint64 threshold() {
    return limit;
}

void setThreshold(qint64 bytes) {
    limit = bytes;
}

void wait(const QString& path) {
    const std::shared_future<QString> result = underWay(path);
    if (result.valid()) result.wait();
}

void remove(JobFile& file, int n, Then then) {
    wait(file.path());
    settle(file.path());
    if (QFileInfo(file.path()).size() <= limit) {
        const bool removed = file.remove(n);
        then(removed ? QString() : file.errorString());
        return;
    }
    // The copy works on the file directly: JobFile's own operations would
    // wait for this very removal.
    JobFile copy = file;
    std::shared_future<QString> result =
        std::async(std::launch::async, [copy, n]() mutable {
            return copy.removeNow(n) ? QString() : copy.errorString();
        }).share();
    const std::lock_guard<std::mutex> guard(lock());
    pending()[file.path()] = Pending{std::move(result), std::move(then)};
}

bool settle(const QString& path) {
    Pending done;
    {
        const std::lock_guard<std::mutex> guard(lock());
        const auto it = pending().find(path);
        if (it == pending().end()) return true;
        if (it->second.result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return false;
        done = std::move(it->second);
        pending().erase(it);
    }
    done.then(done.result.get());
    return true;
}

}  // namespace dye::BackgroundRemoval
