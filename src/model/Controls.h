#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "model/Color.h"

namespace dye {

// The plain state of the controls the screens are made of. The views draw
// them; the handlers and timers read and write them.

struct Label {
    QString Caption;
    Color BackColor = kDefaultBack;
    bool Visible = true;
};

struct Button {
    QString Caption;
    bool Enabled = true;
    bool Visible = true;
};

struct MenuEntry {
    QString Caption;
    bool Enabled = true;
};

struct CheckBox {
    QString Caption;
    bool Value = false;
    bool Enabled = true;
    Color BackColor = kFormGrey;
};

struct ListBox {
    QStringList items;
    int ListIndex = -1;  // the selected line; -1 none
    // A number kept with each line, not shown (the queue list keeps each
    // job's queueing time here, so a click can tell the job it shows).
    QList<double> ItemData;
    void clear() {
        items.clear();
        ItemData.clear();
        ListIndex = -1;
    }
};

struct ComboBox {
    QString Text;
    QStringList items;
    int dropDownWidth = 0;   // pixels; 0 the control's own width
    int dropDownHeight = 0;  // pixels
};

// A picture box: the bitmap file it shows and a number drawn on it.
struct Picture {
    QString file;    // "" until a bitmap was loaded
    QString number;  // drawn in white bold; "" draws nothing
};

}  // namespace dye
