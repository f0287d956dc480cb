#pragma once

#include "JobObserver.h"

#include <QElapsedTimer>
#include <QString>

#include <mutex>
#include <vector>

// The progress of many radios at once on standard error, one line per
// radio ("/dev/ttyUSB1 VKR627A: writing channel 12 of 100, ..."), and a
// line while ports are still searched; redrawn in place, and only when
// standard error is a terminal. The radios report from their own threads;
// the board is drawn from the thread that owns it, which also clears it
// before it prints anything else.
class ProgressBoard
{
public:
    explicit ProgressBoard(int ports);
    ~ProgressBoard();
    ProgressBoard(const ProgressBoard &) = delete;
    ProgressBoard &operator=(const ProgressBoard &) = delete;

    // From the port's thread: a radio answered there; the observer to run
    // its job with shows the job's progress on its line.
    Session::JobObserver radioFound(int port, const QString &label, int channelCount);

    // From the owner's thread.
    void portDone(int port);
    void draw();
    void clear();

private:
    struct Line {
        bool searching = true; // no radio answered yet
        bool shown = false;    // a radio's line
        QString label;
        QString action;
        int total = 0;
        int done = 0;
        QElapsedTimer clock;
    };
    QString textOf(const Line &line) const;

    const bool visible;
    std::mutex mutex;
    std::vector<Line> lines;
    int drawn = 0; // lines on the screen now
};
