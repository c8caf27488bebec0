#include "ToSimplified.h"

#include <opencc/opencc.h>

#include <QByteArray>

namespace dye {
namespace {

// The converter is opened on first use and kept for the program's life;
// opening it loads the dictionaries, which is far too slow to do per caption.
opencc_t converter() {
    static const opencc_t handle = opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP);
    return handle;
}

bool isOpen(opencc_t handle) {
    return handle != reinterpret_cast<opencc_t>(-1);
}

}  // namespace

QString ToSimplified(const QString& text) {
    if (text.isEmpty()) return text;
    const opencc_t handle = converter();
    if (!isOpen(handle)) return text;
    const QByteArray utf8 = text.toUtf8();
    char* converted = opencc_convert_utf8(handle, utf8.constData(), size_t(utf8.size()));
    if (converted == nullptr) return text;
    const QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return result;
}

}  // namespace dye
