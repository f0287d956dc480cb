#pragma once

#include "Channel.h"
#include "RadioModels.h"

#include <QString>

// The rules a channel must follow to be stored in a radio as it stands: a
// name of the model's length from A-Z, 0-9, space and upper-case letters
// beyond ASCII, and a frequency on the air-band channel raster of the
// model's band. The window's editors judge every edit by them and the
// command-line tool whole files; what a fault is called is for them to say.
namespace ChannelRules {

// In the order of QValidator::State, so the editors can pass it on as it is.
enum class Verdict { Invalid = 0, Intermediate = 1, Acceptable = 2 };

constexpr int frequencyTextLength = 7; // "118.000": what the frequency editor takes

// A frequency text after an edit that left the cursor at `cursor`. A text
// of seven characters is judged whole: Acceptable only as a channel of the
// series' band. A shorter one is judged as it is being typed, by the
// characters before the cursor, and is at best Intermediate. Longer ones
// are Invalid.
Verdict judgeFrequency(const QString &text, int cursor);

// A name after an edit that left the cursor at `cursor`: the character
// before the cursor (the one just typed) is raised to upper case in `text`
// and must then be a name character. An edit that leaves the channel file's
// field separator anywhere in the name is Invalid, pasted or typed.
Verdict judgeNameEdit(QString &text, int cursor);

// A name character: A-Z, 0-9, a space, or an upper-case letter beyond ASCII.
bool isNameCharacter(QChar c);

// A character that acts instead of showing: a zero byte, a line end, a tab,
// an escape, a bidirectional override. No channel holds one; in a file it
// means damage (a field cut, another encoding).
bool isControlCharacter(QChar c);
// The position of the first one in `text`, -1 when there is none.
int firstControlCharacter(const QString &text);

// Why a radio would not store a name as it stands, the first rule broken
// in this order.
enum class NameFault {
    None,
    ControlCharacter,  // a line end, a tab, an escape...: `character`
    LowerCase,         // the radio shows upper case only
    NotNameCharacter,  // a character the radio lacks: `character`
    TooManyCharacters, // more than the model's name length: `size`
    TooManyBytes,      // more bytes than the name field holds: `size` bytes
};
struct NameCheck {
    NameFault fault = NameFault::None;
    QChar character;
    int size = 0;
};
NameCheck checkName(const QString &name, const RadioModel &model);
inline bool isValidName(const QString &name, const RadioModel &model)
{
    return checkName(name, model).fault == NameFault::None;
}

// Why a frequency is no channel of the model's band, judged on it as
// written ("121.5" is Incomplete, not another frequency).
enum class FrequencyFault {
    None,             // a channel, or empty
    NotAFrequency,    // not digits, a point and decimals
    Incomplete,       // fewer than three decimals, or no point
    TooManyDecimals,
    AboveBand,
    BelowBand,
    OffRaster,        // within the band, not on the 8.33/25 kHz raster
};
FrequencyFault frequencyFault(const Frequency &frequency, const RadioModel &model);
inline bool isChannel(const Frequency &frequency, const RadioModel &model)
{
    return frequency.isChannelOf(model.band);
}

// The channel for a frequency that another source gives in decimal
// megahertz, or the empty frequency when it names no channel of the air
// band. A value that, written with three decimals, is a channel is kept
// ("121.65", "122.805"); any other value within 0.5 kHz of the true
// frequency of an 8.33 kHz channel becomes that channel ("118.0083" gives
// 118.010). Worked out exactly on the decimal digits, however many there are.
Frequency channelFrequencyFor(const QString &megahertz);

// The same for a source that names 8.33 kHz channels by their true
// (carrier) frequency: an 8.33 kHz designator is kept ("118.010"), and any
// other value within 0.5 kHz of an 8.33 kHz channel's true frequency becomes
// that channel, a value on the 25 kHz raster included ("121.800" gives
// 121.805, the 8.33 kHz channel on that carrier). Empty when no 8.33 kHz
// channel is that near.
Frequency channel833For(const QString &megahertz);

// A name the radio stores, made from any text the way the name editor takes
// it: raised to upper case, characters that are not name characters
// dropped, cut after the model's length in characters or in UTF-8 bytes,
// whichever comes first.
QString nameFrom(const QString &text, const RadioModel &model = RadioModels::series());

// A frequency as a user leaves it: one or two decimals get the zeros that
// make it a channel ("121.65" gives "121.650", "121.5" gives "121.500");
// any other text, and one that padding would not make a channel, comes
// back as it is.
QString completedFrequency(const QString &text);

} // namespace ChannelRules
