#pragma once

#include "Channel.h"

// Names of channels made from outside lists.

// The name the radio stores for a text of another source
// (ChannelRules::nameFrom), without the blanks a cut leaves at its end:
// "Zürich Turm" gives "ZÜRICH", not "ZÜRICH ".
QString importedName(const QString &text);

// Keeps channels that share a name apart: the first keeps the name, each
// later one gets a number in place of its name's last characters (2, 3, ...
// 10, 11), the lowest that gives a name no other channel has. Names stay
// within the radio's 8 characters and 8 bytes. Empty names stay empty.
void makeNamesUnique(Channels &channels);
