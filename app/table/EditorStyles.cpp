#include "EditorStyles.h"

namespace EditorStyle {

namespace {

// Green and red as a light scheme shows them, and lighter shades that read
// as well on a dark background.
constexpr char greenOnLight[] = "green";
constexpr char redOnLight[] = "red";
constexpr char greenOnDark[] = "lightgreen";
constexpr char redOnDark[] = "tomato";
constexpr int darkBelow = 128; // background lightness, 0 to 255

const char *colourName(Tone tone, const QPalette &palette, QPalette::ColorRole background)
{
    const bool dark = palette.color(background).lightness() < darkBelow;
    if (tone == green)
        return dark ? greenOnDark : greenOnLight;
    return dark ? redOnDark : redOnLight;
}

} // namespace

QColor colour(Tone tone, const QPalette &palette, QPalette::ColorRole background)
{
    if (tone == black)
        return palette.color(background == QPalette::Base ? QPalette::Text : QPalette::WindowText);
    return QColor(QLatin1String(colourName(tone, palette, background)));
}

QString labelStyleSheet(Tone tone, const QPalette &palette)
{
    if (tone == black)
        return QStringLiteral("color: palette(window-text)");
    return QStringLiteral("color: ") + QLatin1String(colourName(tone, palette, QPalette::Window));
}

} // namespace EditorStyle
