#pragma once

#include <QByteArray>
#include <QString>

// Ctrl+C (SIGINT), SIGTERM and SIGHUP are noted, not obeyed at once, so
// that a transfer can stop between two frames and say what state the radio
// is left in. SIGPIPE is ignored: a reader of standard output that goes
// away must not kill a write half-way; the failed output is reported at
// the end instead. On Windows, Ctrl+C and Ctrl+Break come through the
// console's handler and count as Ctrl+C, the console window closing as
// SIGHUP.
namespace Interrupt {

void install();
bool requested();

// How the stop came, for messages: "interrupted" (Ctrl+C), "stopped by
// SIGTERM", "stopped by SIGHUP".
QString what();

// The exit code for the signal that came, as shells report it: 130 for
// Ctrl+C, 143 for SIGTERM, 129 for SIGHUP.
int exitCode();

// The run's exit code once a signal came: that signal's, unless the run
// ended worse already (a signal's own code).
int honoured(int exitCode);

// A wait on the outside that only the other end can end: the read of
// standard input or a FIFO, the opening of a FIFO nobody has open, a write
// to a pipe nobody reads. No flag can be asked while the system holds the
// program there, so while one lasts a signal ends the program at once:
// it says "<what> while <waitingFor>; nothing was done." (or that the
// results are not complete) and exits with the signal's code.
class BlockingWait
{
public:
    enum class Kind {
        // Before the run has done anything (an input read, an output
        // opened): with --json the error's document goes to standard
        // output, and a signal that came before ends the run as the wait
        // begins, since nothing would ask for it again until it is over.
        BeforeWork,
        // The results being printed: the document is what is written, and
        // a signal that came before was obeyed by the run already.
        Results,
    };

    // `waitingFor`: "reading standard input", "opening the trace t.txt".
    explicit BlockingWait(const QString &waitingFor, Kind kind = Kind::BeforeWork);
    ~BlockingWait();
    BlockingWait(const BlockingWait &) = delete;
    BlockingWait &operator=(const BlockingWait &) = delete;

    // From the signal handler: only calls that are safe there.
    [[noreturn]] void end(int signal) const;

private:
    static constexpr int signalCount = 3; // SIGINT, SIGTERM, SIGHUP
    QByteArray lines[signalCount];
    QByteArray documents[signalCount];
    const BlockingWait *outer;
};

} // namespace Interrupt
