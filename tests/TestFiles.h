#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <random>

namespace dye::test {

// `bytes` filled up to `width` with `fill`, as a fixed-width field is stored.
inline QByteArray padded(const QByteArray& bytes, int width, char fill = ' ') {
    return bytes + QByteArray(width - bytes.size(), fill);
}

// The whole file, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file with `content`; false when it cannot be written.
inline bool writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// `size` random bytes, the same for the same seed.
inline QByteArray noise(int size, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray bytes(size, 0);
    for (char& c : bytes) c = char(random());
    return bytes;
}

// Adds `content` at the end of the file; false when it cannot be written.
inline bool appendFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::Append) && f.write(content) == content.size();
}

// One core application object for every test of the executable that needs
// an event loop.
inline void ensureCoreApp() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

}  // namespace dye::test
