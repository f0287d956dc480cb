#pragma once

#include "ChannelCsv.h"

// Keeps channels that share a name apart: the first keeps the name, each
// later one gets a number in place of its name's last characters (2, 3, ...
// 10, 11), the lowest that gives a name no other channel has. Names stay
// within the radio's 8 characters and 8 bytes.
void makeNamesUnique(ChannelRecords &channels);
