#pragma once

#include "Channel.h"
#include "RadioModels.h"

#include <QString>
#include <QVector>

class CsvTable;

// What a channel list holds that a radio would not take as it stands.
struct ChannelProblem {
    // What is to be corrected: the name, the frequency, or the record as a
    // whole (one the radio has no place for).
    enum class Field { Name, Frequency, Record };

    unsigned line; // in the file, from 1; 0 for a list that is no file, or the whole file
    int channel;   // the record's channel, from 0; -1 for a problem of the whole file
    QString text;  // one plain sentence
    Field field = Field::Record;
};

namespace ChannelFileCheck {

enum class Rules {
    // The rules of the window's editors: names the radio stores as they
    // are shown, channel designators, and nothing the radio would store
    // other than it is shown (a name without a frequency would become a
    // channel at 118.000, a channel at 118.000 without a name the radio's
    // empty channel).
    Radio,
    Encodable, // only what the radio can hold at all (a backup of odd values passes)
};

// Checks every channel against the rules of the model. Non-empty channels
// beyond the model's memory are a problem too, one for all of them (at the
// first): the radio has no place for them. A control character in a name
// or a frequency is a problem under either rules. Values from the list are
// quoted escaped and cut (QuotedText).
QVector<ChannelProblem> check(const Channels &channels, const RadioModel &model, Rules rules);

// The same for the records of a channel file, with their line numbers;
// a file that is no text of lines (textProblems) has that one problem.
QVector<ChannelProblem> check(const CsvTable &table, const RadioModel &model, Rules rules);

// What makes a file's records no text at all, whatever radio they are
// for: a file in UTF-16 or with line ends of CR alone (one problem for the
// file), and control characters (a zero byte, an escape, a line end) in a
// name or a frequency, each with its record. Fields are read whole, never
// cut at such a character, so what a record holds is what it shows. The
// first records with one are named, the rest counted in one more problem.
QVector<ChannelProblem> textProblems(const CsvTable &table);

} // namespace ChannelFileCheck
