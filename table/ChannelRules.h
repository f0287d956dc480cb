#pragma once

#include <QString>

// The rules a channel must follow to be stored in a radio of the series: a
// name of at most 8 characters from A-Z, 0-9, space and upper-case letters
// beyond ASCII, and a frequency on the air-band channel raster, 118.000 to
// 136.980. The editors of the window judge every edit by them; the
// command-line tool checks whole files by them. Qt Core only.
namespace ChannelRules {

// In the order of QValidator::State, so the editors can pass it on as it is.
enum class Verdict { Invalid = 0, Intermediate = 1, Acceptable = 2 };

constexpr int maxNameLength = 8;       // characters in the editor, and bytes in the radio
constexpr int frequencyTextLength = 7; // "118.000"

// A frequency text after an edit that left the cursor at `cursor`. A text
// of seven characters is judged whole: Acceptable only as a channel of the
// raster. A shorter one is judged as it is being typed, by the characters
// before the cursor, and is at best Intermediate. Longer ones are Invalid.
Verdict judgeFrequency(const QString &text, int cursor);

// True for a complete frequency the editor accepts, such as "121.500".
bool isChannelFrequency(const QString &text);

// A name after an edit that left the cursor at `cursor`: the character
// before the cursor (the one just typed) is raised to upper case in `text`
// and must then be a name character. An edit that leaves the file format's
// field separator ";" anywhere in the name is Invalid, pasted or typed.
Verdict judgeNameEdit(QString &text, int cursor);

// A name character: A-Z, 0-9, a space, or an upper-case letter beyond ASCII.
bool isNameCharacter(QChar c);

// A whole name the radio stores as it is: at most 8 characters, at most 8
// UTF-8 bytes, every character a name character. Empty is valid.
bool isValidName(const QString &name);

} // namespace ChannelRules
