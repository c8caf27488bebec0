#pragma once

#include <bitset>

#include "core/ControlArray.h"
#include "files/settings/MachineSettings.h"

namespace dye {

// The boxes of a teach-slot table on a screen, `Slots` slots of the members
// `Members` (X, Z, name ...): box i holds member i / Slots of slot
// i % Slots + 1. A box the operator edited keeps its text, marked, until
// the slots are saved.
template <int Slots, int Members>
class TeachSlotBoxes {
  public:
    static constexpr int kBoxes = Slots * Members;
    using Member = QString TeachSlot::*;
    using Texts = Captions<kBoxes>;
    using Marks = std::bitset<kBoxes>;

    constexpr explicit TeachSlotBoxes(const Member (&members)[Members]) {
        for (int m = 0; m < Members; ++m) members_[m] = members[m];
    }

    // The value box `i` shows from `settings`.
    QString value(const MachineSettings& settings, int i) const {
        const TeachSlot slot = settings.teachSlot(slotOf(i));
        return slot.*members_[i / Slots];
    }

    // `settings` with every box's text in its slot.
    MachineSettings withTexts(MachineSettings settings, const Texts& texts) const {
        for (int i = 0; i < kBoxes; ++i) {
            TeachSlot slot = settings.teachSlot(slotOf(i));
            slot.*members_[i / Slots] = texts[i];
            settings.setTeachSlot(slotOf(i), slot);
        }
        return settings;
    }

    // The boxes the operator has not edited show what `settings` holds.
    void showUnedited(const MachineSettings& settings, Texts& texts, const Marks& edited) const {
        for (int i = 0; i < kBoxes; ++i)
            if (!edited[size_t(i)]) texts[i] = value(settings, i);
    }

    // Each box whose value in `settings` differs shows it, marked as edited.
    void showChanges(const MachineSettings& settings, Texts& texts, Marks& edited) const {
        for (int i = 0; i < kBoxes; ++i) {
            const QString v = value(settings, i);
            if (v == texts[i]) continue;
            texts[i] = v;
            edited[size_t(i)] = true;
        }
    }

  private:
    static int slotOf(int i) { return i % Slots + 1; }
    Member members_[Members] = {};
};

}  // namespace dye
