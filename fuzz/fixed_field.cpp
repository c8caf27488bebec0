// Fixed-width text decoder: any bytes decode without crashing, and the text
// read back always re-encodes into the field's width.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/AnsiText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = dye::fromFixedField(bytes);
    const int width = int(size % 64);
    if (dye::toFixedField(text, width).size() != width) std::abort();
    QByteArray record(bytes.toByteArray());
    (void)dye::getField(record, int(size / 3), int(size / 2));
    return 0;
}
