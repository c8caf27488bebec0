#include "AnsiText.h"

#include <iconv.h>

#include <QList>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace dye {
namespace {

QByteArray& codePageName() {
    static QByteArray name(AnsiCodePage::kDefault);
    return name;
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return IconvHandle();
    return IconvHandle(cd);
}

// Converts `in`, replacing every invalid or incomplete input sequence by
// `replacement` and skipping `skip` input bytes for it.
QByteArray convert(iconv_t cd, QByteArrayView in, QByteArrayView replacement, size_t skip) {
    QByteArray out;
    out.reserve(in.size() * 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = static_cast<size_t>(in.size());
    char buffer[256];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<qsizetype>(dst - buffer));
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: replace and step over the offending input.
        out.append(replacement.data(), replacement.size());
        size_t step = std::min(skip, srcLeft);
        src += step;
        srcLeft -= step;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

// UTF-32 input lets an unencodable character be skipped as one unit.
QByteArray encodeUnits(iconv_t cd, const QList<uint>& units) {
    QByteArrayView in(reinterpret_cast<const char*>(units.constData()),
                      units.size() * qsizetype(sizeof(uint)));
    return convert(cd, in, "?", 4);
}

// The converters of the code page, opened once per thread and code page
// (opening one costs far more than a short conversion), and whether the
// code page's bytes 0..127 are those characters in both directions, so that
// an all-ASCII text needs no conversion.
struct Converters {
    bool opened = false;
    QByteArray codePage;
    IconvHandle decoder;  // code page to UTF-8
    IconvHandle encoder;  // UTF-32LE to code page
    bool asciiSame = false;
};

// The ASCII-compatible code pages in which a byte below 128 is always one
// character on its own (no shift states, no escapes); the fast path is taken
// for them only once the converters confirm it byte for byte.
bool plainAsciiFamily(const QByteArray& codePage) {
    static const char* const kNames[] = {"CP950", "BIG5",   "BIG5-HKSCS", "BIG5HKSCS", "GBK",
                                         "CP936", "GB2312", "GB18030",    "EUC-CN",    "UTF-8"};
    for (const char* n : kNames)
        if (codePage.compare(n, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString slowDecode(iconv_t cd, QByteArrayView bytes) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // the initial state, as a fresh converter
    return QString::fromUtf8(convert(cd, bytes, "?", 1));
}

QByteArray slowEncode(iconv_t cd, const QString& text) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return encodeUnits(cd, text.toUcs4());
}

Converters& converters() {
    thread_local Converters c;
    const QByteArray& name = codePageName();
    if (c.opened && c.codePage == name) return c;
    c.opened = true;
    c.codePage = name;
    c.decoder = openConverter("UTF-8", name.constData());
    c.encoder = openConverter(name.constData(), "UTF-32LE");
    c.asciiSame = false;
    if (c.decoder && c.encoder && plainAsciiFamily(name)) {
        QByteArray bytes;
        QString text;
        for (int b = 0; b < 128; ++b) {
            bytes.append(char(b));
            text.append(QChar(b));
        }
        bool same = slowDecode(static_cast<iconv_t>(c.decoder.get()), bytes) == text &&
                    slowEncode(static_cast<iconv_t>(c.encoder.get()), text) == bytes;
        for (int b = 0; same && b < 128; ++b) {
            const QByteArray one(1, char(b));
            same = slowDecode(static_cast<iconv_t>(c.decoder.get()), one) == QString(QChar(b)) &&
                   slowEncode(static_cast<iconv_t>(c.encoder.get()), QString(QChar(b))) == one;
        }
        c.asciiSame = same;
    }
    return c;
}

bool allAscii(QByteArrayView bytes) {
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80) return false;
    return true;
}

bool allAscii(const QString& text) {
    for (QChar ch : text)
        if (ch.unicode() >= 0x80) return false;
    return true;
}

}  // namespace

QByteArray AnsiCodePage::name() {
    return codePageName();
}

void AnsiCodePage::setName(const QByteArray& codePage) {
    codePageName() = codePage;
}

QByteArray AnsiCodePage::encode(const QString& text) {
    if (text.isEmpty()) return QByteArray();
    Converters& c = converters();
    if (!c.encoder || (c.asciiSame && allAscii(text))) return text.toLatin1();
    return slowEncode(static_cast<iconv_t>(c.encoder.get()), text);
}

QString AnsiCodePage::decode(QByteArrayView bytes) {
    if (bytes.isEmpty()) return QString();
    Converters& c = converters();
    if (!c.decoder || (c.asciiSame && allAscii(bytes))) return QString::fromLatin1(bytes);
    return slowDecode(static_cast<iconv_t>(c.decoder.get()), bytes);
}

bool isStoredText(QByteArrayView bytes) {
    QByteArray text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0) continue;
        if (u < 0x20 || u == 0x7F) return false;
        text.append(c);
    }
    return AnsiCodePage::encode(AnsiCodePage::decode(text)) == text;
}

QByteArray toFixedField(const QString& text, int width) {
    QByteArray out = AnsiCodePage::encode(text);
    if (out.size() > width) {
        // Too long: take whole characters while they fit, so that the cut
        // never leaves half of a double-byte character behind.
        out.clear();
        void* cd = converters().encoder.get();
        if (cd) iconv(static_cast<iconv_t>(cd), nullptr, nullptr, nullptr, nullptr);
        const QList<uint> units = text.toUcs4();
        for (uint unit : units) {
            QByteArray one = cd ? encodeUnits(static_cast<iconv_t>(cd), QList<uint>{unit})
                                : QByteArray(1, char(unit));
            if (out.size() + one.size() > width) break;
            out.append(one);
        }
    }
    out.append(QByteArray(width - out.size(), ' '));
    return out;
}

QString fromFixedField(QByteArrayView bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    auto blank = [](char c) { return c == ' ' || c == '\0'; };
    while (begin < end && blank(bytes[begin])) ++begin;
    while (end > begin && blank(bytes[end - 1])) --end;
    return AnsiCodePage::decode(bytes.sliced(begin, end - begin));
}

void putField(QByteArray& record, int offset, int width, const QString& text) {
    if (record.size() < offset + width)
        record.append(QByteArray(offset + width - record.size(), ' '));
    record.replace(offset, width, toFixedField(text, width));
}

QString getField(const QByteArray& record, int offset, int width) {
    if (offset >= record.size()) return QString();
    return fromFixedField(
        QByteArrayView(record).sliced(offset, std::min<qsizetype>(width, record.size() - offset)));
}

}  // namespace dye
