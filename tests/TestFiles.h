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

// `count` records of `length` bytes, as another program writes them: record
// r (from 1) holds `prefix`, the number r - 1 + `first`, then `fill`.
inline QByteArray numberedRecords(int count, const QByteArray& prefix, char fill = ' ',
                                  int first = 1, int length = 200) {
    QByteArray records;
    for (int r = 1; r <= count; ++r)
        records += padded(prefix + QByteArray::number(r - 1 + first), length, fill);
    return records;
}

// `file` with its record `n` (from 1, of `length` bytes) holding `text`
// padded with blanks.
inline QByteArray withRecord(QByteArray file, int n, const QByteArray& text, int length = 200) {
    return file.replace(qsizetype(n - 1) * length, length, padded(text, length));
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
