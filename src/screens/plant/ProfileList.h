#pragma once

namespace dye {

struct Form8;
class MachineSettings;

// The profile list screen: its load fills one line per profile (the name,
// ten blanks, the site's display name, in Simplified characters with
// language 2); a click splits the line at the first run of ten blanks.
void fillProfileList(Form8& form, const MachineSettings& settings);
void pickProfile(Form8& form, int line);

}  // namespace dye
