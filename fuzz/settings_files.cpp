// Settings loaders on a file of random bytes: the first byte picks the
// file, the rest is its content. Every load succeeds with every field
// within its width.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/AnsiText.h"
#include "files/settings/MixFiles.h"
#include "files/settings/SettingsFiles.h"

namespace {

bool fits(const QString& text, int width) {
    return dye::AnsiCodePage::encode(text).size() <= width;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static QTemporaryDir tmp;
    const QDir dir(tmp.path());
    static const char* const names[] = {dye::kSettingsFileName,  dye::kValveTableFileName,
                                        dye::kTeachXZFileName,   dye::kTeachYFileName,
                                        dye::kWashTableFileName, dye::kDyeMixFileName};
    const int which = data[0] % 6;
    QFile raw(dir.filePath(QString::fromLatin1(names[which])));
    if (!raw.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    raw.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    raw.close();

    dye::MachineSettings s;
    QString error;
    if (which == 5) {
        QStringList texts;
        if (!dye::loadDyeMix(raw.fileName(), texts, &error) || texts.size() != 30) std::abort();
        for (const QString& t : texts)
            if (!fits(t, dye::kDyeMixWidth)) std::abort();
        return 0;
    }
    using Loader = bool (*)(const QDir&, dye::MachineSettings&, QString*);
    static const Loader loaders[] = {dye::loadSettingsFields, dye::loadValveTable,
                                     dye::loadTeachSlots, dye::loadTeachSlots, dye::loadWashTable};
    if (!loaders[which](dir, s, &error)) std::abort();
    for (int i = 0; i < dye::MachineSettings::kFieldCount; ++i)
        if (!fits(s.Text1(i), 200)) std::abort();
    for (int k = 1; k <= dye::MachineSettings::kTeachSlotCount; ++k) {
        const dye::TeachSlot slot = s.teachSlot(k);
        if (!fits(slot.x, 20) || !fits(slot.z, 20) || !fits(slot.name, 20) || !fits(slot.y, 20))
            std::abort();
    }
    (void)s.valveRate(int(size % 30));
    (void)s.washWater(int(size % 70));
    raw.remove();
    return 0;
}
