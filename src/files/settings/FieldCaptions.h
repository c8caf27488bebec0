#pragma once

#include <QString>

namespace dye {

// The caption beside settings field i (0..37) as the settings screen is
// designed; empty outside the range.
QString settingsFieldCaption(int i);

// The settings form's Label1 index whose caption follows the language for
// settings field i, or -1 when the field keeps its design caption.
int settingsFieldLabel(int i);

// Settings fields read once, when the program starts: the port (0), the scan
// interval (1) and the machine type (5). A saved change acts at the next start.
bool actsAtStartUp(int i);

// The valve table's four column captions (design text), column 0..3, and the
// Label1 index of each column's caption.
QString valveColumnCaption(int column);
int valveColumnLabel(int column);

}  // namespace dye
