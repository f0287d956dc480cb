#pragma once

#include <QElapsedTimer>
#include <QString>

// A progress line on standard error while channels cross the line ("writing
// channel 12 of 100, 3 s elapsed, about 20 s left"), redrawn in place. Shown
// only when standard error is a terminal, so that logs and pipes stay clean.
class Progress
{
public:
    Progress(const QString &action, int total);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    void show(int done);

private:
    QString action;
    int total;
    bool visible;
    QElapsedTimer clock;
};
