#pragma once

#include <QString>
#include <QtGlobal>

struct Band;

// A channel's frequency as a radio of the series holds it: whole megahertz
// and the kilohertz in steps of 5, the channel designator ("121.500",
// "118.005"). The 8.33 kHz channels are named by their designator, not by
// the frequency they transmit on (the carrier).
//
// What a file or a radio gives is kept as it came: a designator off the
// band or the raster ("136.985", or "118.1000", a step a radio may hold
// beyond 199) is still a designator, and a text that names none ("121.5",
// "abc") stays that text, so that it is shown, saved and reported as it
// stands and never guessed at.
class Frequency
{
public:
    enum class Spacing {
        None,   // no channel of the air-band raster
        Wide,   // a 25 kHz channel
        Narrow, // an 8.33 kHz channel
    };

    // The empty frequency: a channel not in use.
    Frequency() = default;

    // A designator from its parts, as a radio sends them.
    static Frequency fromParts(int megahertz, int step);
    // The designator of that many kilohertz (a multiple of 5).
    static Frequency fromKilohertz(int kilohertz);
    // The frequency a text names: empty for an empty text, a designator for
    // a text written as one ("121.500", "118.1000"), anything else kept as
    // the text it is.
    static Frequency fromText(const QString &text);

    bool isEmpty() const { return kind == Kind::Empty; }
    // A designator, in or out of the band; false for an empty frequency and
    // for a text that names none.
    bool isDesignator() const { return kind == Kind::Designator; }

    int megahertz() const { return mhz; }
    int step() const { return steps; }            // kilohertz divided by 5
    int kilohertz() const { return mhz * 1000 + steps * 5; }

    // A channel of the band on the 25 or 8.33 kHz raster.
    bool isChannelOf(const Band &band) const;
    Spacing spacing() const;
    // The frequency a channel transmits on, in hertz: a 25 kHz channel's
    // own, an 8.33 kHz channel's true frequency rounded to 1 Hz
    // (118.010 gives 118008333). 0 for anything that is no channel.
    qint64 carrierHertz() const;
    // The megahertz and step each fit the one byte a channel frame has for
    // them; an empty frequency fits (the radio's empty channel).
    bool fitsFrame() const;

    // "121.500", "118.1000"; the text itself for one that names no
    // designator; empty for the empty frequency.
    QString text() const;

    bool operator==(const Frequency &other) const;
    bool operator!=(const Frequency &other) const { return !(*this == other); }
    // Designators by value, then texts that name none, then the empty one.
    bool operator<(const Frequency &other) const;

private:
    enum class Kind { Empty, Designator, Text };

    Kind kind = Kind::Empty;
    int mhz = 0;
    int steps = 0;
    QString unparsed; // Kind::Text
};
