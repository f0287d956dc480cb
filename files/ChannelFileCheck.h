#pragma once

#include <QString>
#include <QVector>

class CsvTable;

// What a channel file holds that a radio would not take as it stands.
struct ChannelProblem {
    unsigned line; // in the file, from 1
    int channel;   // the record's channel, from 0
    QString text;  // one plain sentence
};

namespace ChannelFileCheck {

enum class Rules {
    Radio,     // the rules of the window's editors: names and channel designators
    Encodable, // only what the radio can hold at all (a backup of odd values passes)
};

// Checks every record against the rules. Non-empty records beyond
// `channelLimit` are problems too: no radio has a place for them.
QVector<ChannelProblem> check(const CsvTable &table, int channelLimit, Rules rules);

} // namespace ChannelFileCheck
