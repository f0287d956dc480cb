#pragma once

#include <QByteArray>
#include <QString>

// The tool's output: results on standard output, progress and errors on
// standard error, all UTF-8. A line for people never carries a control
// character to the terminal: whatever a message quotes (a file name, a
// port, a value from a file) shows escaped ("\x1b"), also where its
// sentence did not see to it. Every write to standard output is checked: the
// first failure (a full disk, a closed pipe or descriptor) is remembered
// and later writes are not tried, so the program can end saying so.
namespace Console {

// Makes sure descriptors 0, 1 and 2 are taken before anything else opens a
// file: a program started with one of them closed would otherwise write
// its results into the first file or port it opens. A closed standard
// output is taken by a descriptor that refuses writes, so that writing the
// results fails as it should.
void guardStandardStreams();

// A line of results for people: on standard output, or on standard error
// while a document for programs has standard output (--json).
void out(const QString &line);
// Results as they are: a channel file, a JSON document.
void outBytes(const QByteArray &bytes);
void err(const QString &line);
// One plain sentence on what failed and what to do, prefixed "vkrtool: ".
void fail(const QString &sentence);
// The first sentence fail() was given, for a document that says why there
// is no result.
QString firstFailure();

// From now on out() writes to standard error.
void keepOutputForDocument();

// Standard output was closed when the program started: nothing written
// there can arrive.
bool outputWasClosed();

// False once a write to standard output failed; `outputError` says why in
// the system's words.
bool outputWorks();
QString outputError();

// Flushes and closes standard output at the end of the program: false when
// anything written to it did not arrive.
bool closeOutput();

bool errorIsTerminal();

} // namespace Console
