#pragma once

#include "RadioModels.h"

#include <QString>

// The rules a channel must follow to be stored in a radio of the series: a
// name of at most 8 characters from A-Z, 0-9, space and upper-case letters
// beyond ASCII, and a frequency on the air-band channel raster, 118.000 to
// 136.980. The editors of the window judge every edit by them; the
// command-line tool checks whole files by them. Qt Core only.
namespace ChannelRules {

// In the order of QValidator::State, so the editors can pass it on as it is.
enum class Verdict { Invalid = 0, Intermediate = 1, Acceptable = 2 };

constexpr int maxNameLength = RadioModels::longestName(); // characters in the editor, and bytes in the radio
constexpr int frequencyTextLength = 7;                    // "118.000"
constexpr int largestMemory = RadioModels::largestMemory(); // channels of the largest radio of the series

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

// The channel designator the radio stores ("121.650") for a frequency that
// another source gives in decimal megahertz, or an empty text when it names
// no channel of the band. A value that, written with three decimals, is a
// channel the frequency editor accepts is kept ("121.65", "122.805"); any
// other value within 0.5 kHz of the true frequency of an 8.33 kHz channel
// becomes that channel's designator ("118.0083" gives "118.010"). Worked
// out exactly on the decimal digits, however many there are.
QString channelFrequencyFor(const QString &megahertz);

// The same for a source that names 8.33 kHz channels by their true
// (carrier) frequency: an 8.33 kHz designator is kept ("118.010"), and any
// other value within 0.5 kHz of an 8.33 kHz channel's true frequency becomes
// that channel, a value on the 25 kHz raster included ("121.800" gives
// "121.805", the 8.33 kHz channel on that carrier). Empty when no 8.33 kHz
// channel is that near.
QString channel833For(const QString &megahertz);

// The frequency a channel is transmitted on, in megahertz with six
// decimals: a 25 kHz channel's own ("121.800" gives "121.800000"), an
// 8.33 kHz channel's true frequency rounded to 1 Hz ("118.010" gives
// "118.008333", "122.805" gives "122.800000"). Empty for a text that is no
// channel.
QString carrierOf(const QString &channel);

// True for a channel of the 8.33 kHz raster ("118.005"), false for a
// channel of the 25 kHz raster ("118.025") and for any other text.
bool is833Channel(const QString &frequency);

// A name the radio stores, made from any text the way the name editor takes
// it: raised to upper case, characters that are not name characters
// dropped, cut after 8 characters or 8 UTF-8 bytes, whichever comes first.
QString nameFrom(const QString &text);

// A frequency as a user leaves it: one or two decimals get the zeros that
// make it a channel ("121.65" gives "121.650", "121.5" gives "121.500");
// any other text, and one that padding would not make a channel, comes
// back as it is.
QString completedFrequency(const QString &text);

// Why a frequency text is no channel, in a few words for a tooltip ("above
// 136.980"); empty for a channel and for an empty text.
QString frequencyFault(const QString &text);

// Why the radio would not store a name as it stands ("lower case: the
// radio shows upper case only"); empty for a valid name.
QString nameFault(const QString &name);

} // namespace ChannelRules
