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

}  // namespace

QByteArray AnsiCodePage::name() {
    return codePageName();
}

void AnsiCodePage::setName(const QByteArray& codePage) {
    codePageName() = codePage;
}

QByteArray AnsiCodePage::encode(const QString& text) {
    if (text.isEmpty()) return QByteArray();
    IconvHandle cd = openConverter(codePageName().constData(), "UTF-32LE");
    if (!cd) return text.toLatin1();
    return encodeUnits(static_cast<iconv_t>(cd.get()), text.toUcs4());
}

QString AnsiCodePage::decode(QByteArrayView bytes) {
    if (bytes.isEmpty()) return QString();
    IconvHandle cd = openConverter("UTF-8", codePageName().constData());
    if (!cd) return QString::fromLatin1(bytes);
    return QString::fromUtf8(convert(static_cast<iconv_t>(cd.get()), bytes, "?", 1));
}

QByteArray toFixedField(const QString& text, int width) {
    QByteArray out = AnsiCodePage::encode(text);
    if (out.size() > width) {
        // Too long: take whole characters while they fit, so that the cut
        // never leaves half of a double-byte character behind.
        out.clear();
        IconvHandle cd = openConverter(codePageName().constData(), "UTF-32LE");
        const QList<uint> units = text.toUcs4();
        for (uint unit : units) {
            QByteArray one = cd ? encodeUnits(static_cast<iconv_t>(cd.get()), QList<uint>{unit})
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
