#pragma once

namespace dye {

struct Form15;

// A click on the category picker's button i (0..3): AuxCategory = i + 1 and
// the picker hides.
void pickCategory(Form15& form, int i);

}  // namespace dye
