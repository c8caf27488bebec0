#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace dye {

// The ANSI code page of every text field in the station's files. Big5 (CP950)
// on the target machines; kept in one place so that no literal is scattered.
class AnsiCodePage {
  public:
    static constexpr const char* kDefault = "CP950";
    static QByteArray name();
    static void setName(const QByteArray& codePage);

    // Text to bytes. A character the code page cannot hold becomes '?'.
    static QByteArray encode(const QString& text);
    // Bytes to text. A byte sequence that is not valid (a half character cut
    // by another program) becomes '?' so that reading never fails.
    static QString decode(QByteArrayView bytes);
};

// Encodes `text` into exactly `width` bytes: left-aligned, padded with spaces,
// cut at the width without ever splitting a double-byte character (the half
// character's byte is padded with a space instead).
QByteArray toFixedField(const QString& text, int width);

// Decodes a fixed-width field and trims spaces (and NUL bytes of blank,
// never-written records) from both ends.
QString fromFixedField(QByteArrayView bytes);

// Whether `bytes` can be text the station wrote into a field: no control
// byte but the NUL of never-written records, and every character whole in
// the code page. Random bytes almost never are.
bool isStoredText(QByteArrayView bytes);

// Field access inside a record buffer.
void putField(QByteArray& record, int offset, int width, const QString& text);
QString getField(const QByteArray& record, int offset, int width);

}  // namespace dye
