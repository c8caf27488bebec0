#include "LinkHealth.h"

namespace dye {

void LinkHealth::start(qint64 nowMs) {
    lastAnswerMs_ = nowMs;
    missedSinceAnswer_ = false;
}

void LinkHealth::answered(qint64 nowMs) {
    lastAnswerMs_ = nowMs;
    answeredMs_ = nowMs;
    missedSinceAnswer_ = false;
    if (up_) return;
    up_ = true;
    reason_.clear();
    if (events_.back) events_.back();
}

void LinkHealth::missed(qint64 nowMs, const QString& what) {
    missedSinceAnswer_ = true;
    if (up_ && nowMs - lastAnswerMs_ >= kSilenceMs)
        lose(QStringLiteral("no valid answer from the controller for %1 ms (%2)")
                 .arg(nowMs - lastAnswerMs_)
                 .arg(what));
}

void LinkHealth::portFailed(const QString& why) {
    if (up_) lose(why);
}

void LinkHealth::lose(const QString& why) {
    up_ = false;
    acknowledged_ = false;
    reason_ = why;
    ++losses_;
    if (events_.lost) events_.lost(why);
}

}  // namespace dye
