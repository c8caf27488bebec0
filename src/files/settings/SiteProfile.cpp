#include "files/settings/SiteProfile.h"

#include <array>
#include <utility>

namespace dye {

SiteProfile siteProfileOf(const QString& text) {
    static constexpr std::array<std::pair<const char16_t*, SiteProfile>, 9> kNames{{
        {u"ZOLPOWDERS", SiteProfile::Zolpowders},
        {u"KESTRALIA", SiteProfile::Kestralia},
        {u"ORIGINAL", SiteProfile::Original},
        {u"MARIGOLD", SiteProfile::Marigold},
        {u"TALBERT", SiteProfile::Talbert},
        {u"FENWICK", SiteProfile::Fenwick},
        {u"DRAYMOR", SiteProfile::Draymor},
        {u"PELKO", SiteProfile::Pelko},
        {u"QUORBAN", SiteProfile::Quorban},
    }};
    const QString name = text.trimmed();
    for (const auto& [spelled, profile] : kNames)
        if (name == QStringView(spelled)) return profile;
    return SiteProfile::None;
}

}  // namespace dye
