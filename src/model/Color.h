#pragma once

#include <QtGlobal>

namespace dye {

// A colour as 0xRRGGBB; the views turn it into their own colour type.
using Color = quint32;

constexpr Color rgb(int r, int g, int b) {
    return Color((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

inline constexpr Color kRed = rgb(255, 0, 0);
inline constexpr Color kFormGrey = rgb(240, 240, 240);  // the button face of forms and buttons
// A label in its default colour: the view draws it on the form's own face.
inline constexpr Color kDefaultBack = 0xFF000000u;

// Colours of the run.
inline constexpr Color kCheckTan = rgb(230, 200, 150);   // options while the run is armed
inline constexpr Color kStopPink = rgb(255, 200, 200);   // the screen after a stop
inline constexpr Color kYellow = rgb(255, 255, 0);       // a row or field being filled
inline constexpr Color kDoneGreen = rgb(50, 255, 50);    // every row dispensed
inline constexpr Color kOrange = rgb(255, 150, 0);       // lane 1 has rows
inline constexpr Color kLightBlue = rgb(150, 150, 255);  // lane 2 has rows
inline constexpr Color kBlinkYellow = rgb(255, 255, 100);
inline constexpr Color kBlinkGreen = rgb(100, 255, 100);

// The 16 colours of the classic PC text mode, by number 0..15 (0 black,
// 1 blue, 2 green, 3 cyan, 4 red, 5 magenta, 6 yellow, 7 white, 8 grey, 9..14
// the light forms of 1..6, 15 bright white). A number outside reads black.
constexpr Color paletteColor(int index) {
    constexpr Color table[16] = {
        rgb(0, 0, 0),     rgb(0, 0, 170),    rgb(0, 170, 0),    rgb(0, 170, 170),
        rgb(170, 0, 0),   rgb(170, 0, 170),  rgb(170, 85, 0),   rgb(170, 170, 170),
        rgb(85, 85, 85),  rgb(85, 85, 255),  rgb(85, 255, 85),  rgb(85, 255, 255),
        rgb(255, 85, 85), rgb(255, 85, 255), rgb(255, 255, 85), rgb(255, 255, 255)};
    return index >= 0 && index < 16 ? table[index] : table[0];
}

}  // namespace dye
