#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

// The colours the window marks a state with: green for a valid frequency or
// an identified radio, red for an invalid entry or no radio, and the
// palette's own text colour otherwise. Green and red come in a shade that
// reads on the palette's background, light or dark.
namespace EditorStyle {

enum Tone { black, green, red }; // named after the colours of a light scheme

// The colour of the tone on the palette's `background` role.
QColor colour(Tone tone, const QPalette &palette, QPalette::ColorRole background);

// The device label's style sheet for the tone: the colour only; the label
// keeps its own font.
QString labelStyleSheet(Tone tone, const QPalette &palette);

} // namespace EditorStyle
