#pragma once

#include "Commands.h"
#include "RadioReports.h"

#include <QJsonArray>

#include <functional>

// A radio job as vkrtool runs it: on the one radio found, or with --all on
// every radio of the machine at once, each on its own port and thread.

// What a job came to on one radio.
struct RadioRun {
    RadioVerdict verdict;
    QString file;     // the file the table of many radios shows: the backup, or the file saved
    QJsonObject json; // the job's own keys for the document
};

// Runs on the radio's own thread, with the observer to run its session
// job with; it says nothing itself: its verdict is said when it returns.
using RadioJob = std::function<RadioRun(RadioConnection &radio, const Session::JobObserver &observer)>;

struct RadioRuns {
    int exitCode = ExitCode::success; // the worst of them
    QJsonArray radios;  // each radio's keys (port, model, channelCount, outcome, message, exitCode and the job's)
    QJsonArray noRadio; // with --all, the ports that held none, each with its problem
};

// Without `all`: finds the radio (the first on the ports, or the one on
// `port`), runs the job and says its verdict. With `all`: probes every
// port at once and runs the job on every radio found; says each radio's
// verdict as it ends ("/dev/ttyUSB1 VKR627A: written and verified, backup
// ..."), then a table of them all with the file of each under `fileWord`,
// and a count of their results. Progress shows on a terminal, one line per
// radio.
// With --expect, finding fewer radios fails the run (exit 3), and so does
// a port named in VKR_SERIAL_PORTS that holds none; then silent ports are
// asked once more after the quiet a radio left deaf by a stopped write
// needs (waitForDeafRadios).
RadioRuns runRadioJob(const Commands::RadioChoice &choice, const QString &fileWord, const RadioJob &job);

// The keys every radio has in a document: port, model, channelCount,
// outcome, message and exitCode.
QJsonObject radioKeys(const RadioConnection &radio, const RadioVerdict &verdict);

// With --json, prints the document of a run: `top` with the one radio's
// keys (a run that reached none leaves the error's document), or with
// --all with the radios and the ports that held none, and the error when
// there were no radios.
void printRunDocument(QJsonObject top, const RadioRuns &runs, bool all);
