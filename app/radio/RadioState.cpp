// Whether the radio holds the table, said in the status bar: after a
// write, that it was written and checked and where the memory before it is
// kept (a click opens the backups); once the table differs from what the
// radio is known to hold, how many channels are not on it yet.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTime>

#include <algorithm>

namespace {

constexpr char backupLink[] = "backups";
constexpr int minimumNameLength = 16; // characters of a backup's name shown however narrow the window

QString countedChannels(int count)
{
    return count == 1 ? MainWindow::tr("1 channel") : MainWindow::tr("%1 channels").arg(count);
}

} // namespace

void MainWindow::setupRadioState()
{
    radioStateLabel = new QLabel(this);
    radioStateLabel->setObjectName(QStringLiteral("radioStateLabel"));
    radioStateLabel->setTextFormat(Qt::RichText);
    // A long line is cut at the window's edge; it never widens the window.
    radioStateLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Shown where messages are: a message covers it while it shows.
    ui->statusBar->addWidget(radioStateLabel, 1);
    radioStateLabel->installEventFilter(this); // its width shortens the backup's name
    connect(radioStateLabel, &QLabel::linkActivated, this, [this] { restoreBackup(); });
    // Any change of the table: the written line no longer speaks of it.
    connect(&sheet, &ChannelSheet::rowsChanged, this, [this] {
        writtenLine.clear();
        showRadioState();
    });
    connect(&sheet, &ChannelSheet::radioMemoryChanged, this, &MainWindow::showRadioState);
    connect(&sheet, &ChannelSheet::modelChanged, this, &MainWindow::showRadioState);
}

// The line stays until the table changes or another transfer begins.
void MainWindow::showWritten(int channels, const QString &backup)
{
    writtenLine = tr("Written and verified: %1, %2.")
                      .arg(countedChannels(channels), QTime::currentTime().toString(QStringLiteral("HH:mm")));
    writtenBackup = backup;
    showRadioState();
}

void MainWindow::showRadioState()
{
    const std::optional<int> differing = sheet.differencesFromRadio();
    if (differing && *differing > 0) {
        radioStateLabel->setText(tr("Not on the radio yet: %1 changed").arg(countedChannels(*differing)).toHtmlEscaped());
        radioStateLabel->setToolTip(tr("The table differs from what the %1 was last known to hold; "
                                       "Write to puts it there.")
                                        .arg(connectedRadioName()));
    } else if (!writtenLine.isEmpty() && writtenBackup.isEmpty()) {
        radioStateLabel->setText(writtenLine.toHtmlEscaped());
        radioStateLabel->setToolTip(QString());
    } else if (!writtenLine.isEmpty()) {
        // The backup's name, shortened at its end where the window is
        // narrow (its start names the model and the time): the link is to
        // be seen whole, to be clicked.
        const QString text = QStringLiteral("%1 %2 ").arg(writtenLine, tr("Backup:"));
        const QFontMetrics metrics = radioStateLabel->fontMetrics();
        const int room = radioStateLabel->contentsRect().width() - metrics.horizontalAdvance(text);
        const QString name = metrics.elidedText(QFileInfo(writtenBackup).fileName(), Qt::ElideRight,
                                                std::max(room, metrics.averageCharWidth() * minimumNameLength));
        radioStateLabel->setText(QStringLiteral("%1<a href=\"%2\">%3</a>")
                                     .arg(text.toHtmlEscaped(), QLatin1String(backupLink), name.toHtmlEscaped()));
        radioStateLabel->setToolTip(tr("The memory as it was before the write is kept in %1. Click to see the backups.")
                                        .arg(QDir::toNativeSeparators(writtenBackup)));
    } else {
        radioStateLabel->clear();
        radioStateLabel->setToolTip(QString());
    }
}
