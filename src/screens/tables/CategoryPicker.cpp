#include "CategoryPicker.h"

#include "model/Form15.h"

namespace dye {

void pickCategory(Form15& form, int i) {
    if (!form.Command1.valid(i)) return;
    form.AuxCategory = qint16(i + 1);
    form.Visible = false;
}

}  // namespace dye
