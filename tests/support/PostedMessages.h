#pragma once

#include <QStatusBar>
#include <QStringList>

// Every message a status bar showed, in order, as it was posted (its
// clearing left out). A message stays 2 s on screen, and a loaded machine
// may take longer than that to look at it. Lives as long as the status bar
// unless destroyed before.
class PostedMessages : public QObject
{
public:
    explicit PostedMessages(QStatusBar *statusBar)
        : QObject(statusBar)
    {
        connect(statusBar, &QStatusBar::messageChanged, this, [this](const QString &message) {
            if (!message.isEmpty())
                all.append(message);
        });
    }

    QString last() const { return all.isEmpty() ? QString() : all.last(); }

    QStringList all;
};
