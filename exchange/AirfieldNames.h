#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>

// One channel of an airfield as its frequencies file describes it.
struct AirfieldChannelKind {
    QByteArray type;        // "TWR"
    QByteArray description; // "TOWER NORTH", may be empty
};

// A channel's name in its parts, so that it is shortened where it says
// least: "EDDF" and "TWR", or "EDDS", "TWR" and "2".
struct AirfieldChannelName {
    QString ident;          // the ident's name characters
    QString label;          // what the channel is
    QString ending;         // a number that ends the label, kept whole
    bool labelKept = false; // the label tells the channel from others: the ident gives way first
};

// What an airfield's channels are, in their order: the type ("TWR"); ATIS
// for an ATIS (a type or description that names one: "ATIS", "D-ATIS", a
// "DEP" described as "DEPARTURE ATIS"), DATIS for a departure ATIS (DEP or
// DEPARTURE in type or description). Where several channels of one label
// differ in their descriptions, the words that tell them apart stand in
// place of the label ("NORTH" and "SOUTH" of "LONDON DIRECTOR NORTH" and
// "... SOUTH"), or a number alone ends it ("TWR" "2"); an ATIS stays ATIS.
QVector<AirfieldChannelName> airfieldChannelNames(const QByteArray &ident, const QVector<AirfieldChannelKind> &channels);

// The names, within the radio's 8 characters and 8 bytes, no two alike:
// the ident, a space and the label ("EDDF TWR"). A label too long is cut
// ("EGLL ATI"; a seven-character ident takes its first letter without a
// space: "AB12345T"), but a kept label first shortens the ident, to 3
// characters at least ("EGL DATI", "EDD TWR2", "EGL NORT"). A name an
// earlier channel has gets a number at its end the same way ("EDD TWR2"):
// the lowest that gives a name no other channel has.
QStringList uniqueChannelNames(const QVector<AirfieldChannelName> &names);
