#pragma once

#include <QString>

#include <functional>

namespace dye {

class JobFile;

// A removal from a long job file (the queue holding many thousands of jobs)
// copies tens of megabytes; run on the scan's thread it would silence the
// controller link for as long. Such a removal runs on a thread of its own,
// and every JobFile operation on the same file waits for it first, so
// nothing in this process reads or writes the file half-way.
namespace BackgroundRemoval {

// What a removal reports: an error text, empty when the record was removed.
using Then = std::function<void(const QString& error)>;

// Removes record n of `file`: at once when the file is short (`then` runs
// before this returns), otherwise on a thread of its own (`then` runs from a
// later settle() on the caller's thread).
void remove(JobFile& file, int n, Then then);
// Runs the `then` of a finished removal from `path`; false while one is
// still under way.
bool settle(const QString& path);
// Waits for a removal from `path` under way (its `then` still waits for
// settle()).
void wait(const QString& path);
// Files longer than this are worked on in the background (bytes).
qint64 threshold();
void setThreshold(qint64 bytes);

}  // namespace BackgroundRemoval

}  // namespace dye
