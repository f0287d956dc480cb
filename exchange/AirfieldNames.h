#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>

// One channel of an airfield as its frequencies file describes it.
struct AirfieldChannelKind {
    QByteArray type;        // "TWR"
    QByteArray description; // "TOWER NORTH", may be empty
};

// The names of one airfield's channels, in their order: the ident, a space
// and the type ("EDDF TWR"), cut to the radio's length. Where several
// channels share a type and their descriptions differ, the words that tell
// them apart stand in place of the type ("EGLL NORTH" cut to "EGLL NOR");
// a number alone ends the type ("EDDS TW2"). A seven-character ident is
// followed by the type's first letter, without a space. Names may repeat;
// makeNamesUnique keeps them apart.
QStringList airfieldChannelNames(const QByteArray &ident, const QVector<AirfieldChannelKind> &channels);
