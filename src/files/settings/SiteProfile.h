#pragma once

#include <QString>

namespace dye {

// The site profile (settings field "LINK TYPE"): which plant integration and
// which site rules the station follows. Any other text is no profile.
enum class SiteProfile {
    None,
    Zolpowders,  // drop files of a powder machine
    Kestralia,   // the identifier fills the recipe picker
    Original,    // the identifier's plant rows are queued as they are
    Marigold,    // the vat list intake
    Talbert,     // special auxiliaries flagged in the plant database
    Fenwick,     // balance by tube count on one-balance machines
    Draymor,     // status rows posted to the plant database
    Pelko,       // mixers and dye-mix entries
    Quorban,     // auxiliary categories picked per identifier
};

// The profile the field's text names (trimmed, compared exactly).
SiteProfile siteProfileOf(const QString& text);

}  // namespace dye
