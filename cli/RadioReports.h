#pragma once

#include "ExitCodes.h"
#include "RadioRead.h"
#include "SafeWrite.h"
#include "ToolRadio.h"

#include <QJsonObject>
#include <QLatin1String>
#include <QString>
#include <QStringList>

// What vkrtool says about a radio job, and the exit code it ends with.

// Connects, or says why not: the exit code, 0 when a radio was found.
int connectRadio(ToolRadio &radio, const QString &port);

// Says where a complete read was kept as a backup, or why it was not.
void reportKeptBackup(const Session::ReadOutcome &read);

// The command that puts a backup back, as the user can paste it; `force`
// where putting it back empties most of the channels in use.
QString restoreCommand(const QString &backup, const QString &port, bool force);

// What one radio's job came to, in vkrtool's words.
struct RadioVerdict {
    int exitCode = ExitCode::success;
    QLatin1String outcome; // the word for programs (JsonValue)
    QString result;        // a few words for the table of many radios: "written and verified"
    QString tally;         // the words their count uses, where the result has a number in it
    QStringList details;   // lines said first: a file's problems, the channels that differ
    QString sentence;      // the line of a success, or the one sentence on what failed and what to do
    bool sentenceIsResult = false; // said as a result even with an exit code other than 0 (a difference found)

    bool succeeded() const { return exitCode == ExitCode::success; }
};

// Says the verdict on the one radio of a run: its details and a success as
// results, a failure as an error. Gives its exit code.
int sayVerdict(const RadioVerdict &verdict);

// What a read came to: stopped or incomplete (then `nothingDone` says what
// did not happen: "nothing was written"), or outcome read with the
// channels in use as its result.
RadioVerdict judgeRead(const Session::ReadOutcome &read, int channelCount, const QString &nothingDone);

// "channel 3: radio: "TOWER" 118.100, club.csv: (empty)"
QString differenceLine(const ChannelComparison::Difference &difference, const QString &firstLabel,
                       const QString &secondLabel);

struct WriteContext {
    QString file; // what was written, for the advice to compare it with the radio
    QString port; // the port the radio is on, for the commands advised
    // A restore: `file` is the backup it puts back, and whether --force was
    // given, so that a failed one is advised to run again as it was.
    bool restoring = false;
    bool forced = false;
};

// What follows the problems of a file a write refused ("%1": it, them).
QString refusedWriteAdvice();

RadioVerdict judgeWrite(const Session::WriteReport &report, const QString &modelLabel, const WriteContext &context);

// A write's keys for its document: backup, verified, sent, differences,
// faults and problems.
QJsonObject writeJson(const Session::WriteReport &report);
