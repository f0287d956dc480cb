#pragma once

#include "Channel.h"

#include <QByteArray>
#include <QDate>
#include <QPageLayout>
#include <QString>
#include <QVector>

class QPagedPaintDevice;
class QPaintDevice;

// The channel card: the radio's channels as a printed list for the pilot's
// kneeboard. A title line (where the channels came from and for which
// radio, then the date: "EDDF area, VKR627S, 2026-12-08"), then
// every channel that holds a name or a frequency, in channel order, as its
// number, name and frequency, with a small "8.33" after the frequencies of
// the 8.33 kHz raster. Empty channels are left out; the others keep their
// numbers. A thin rule after every fifth line guides the eye along a line.
// Black on white.
//
// Everything is measured with the font's metrics on the device it is
// painted on, so any font, paper and resolution gives a card that fits: the
// card takes the fewest pages it can, with the largest text from 12 down to
// 8 points that gives them, in one column or, where one column would need
// smaller text or more pages and the paper is wide enough, two (100
// channels fit one A5 page). The text stays text in a PDF, searchable and
// selectable. Qt Gui only: no widgets.
class ChannelCard
{
public:
    struct Line {
        int number = 0;
        QString name;
        QString frequency;
        bool is833 = false; // a channel of the 8.33 kHz raster
    };

    // How the card falls onto the pages of one device.
    struct Layout {
        qreal pointSize = 0; // of the channel lines
        int columns = 1;
        int linesPerColumn = 0; // the most lines one column of a page holds
        int pages = 0;
    };

    static constexpr qreal largestPointSize = 12;
    static constexpr qreal smallestPointSize = 8;
    // The program named in a card's document properties, PDF or print job.
    static constexpr char creator[] = "VKR Frequency Tool";

    // The records in channel order, the first one numbered `firstNumber`.
    ChannelCard(const Channels &records, int firstNumber, const QString &title, const QDate &date);

    const QVector<Line> &lines() const { return cardLines; }
    bool isEmpty() const { return cardLines.isEmpty(); }
    QString title() const { return titleLine; }

    // The family of the card's text; the application's font family unless
    // set.
    void setFontFamily(const QString &family);

    // A5 portrait with the card's margins: the paper of a card until the
    // user chooses another.
    static QPageLayout defaultPageLayout();
    // The given paper and orientation with the card's margins.
    static QPageLayout pageLayout(const QPageSize &paper, QPageLayout::Orientation orientation);

    Layout layoutFor(QPaintDevice &device) const;

    // Paints the card onto the device's pages, from the current one on.
    // False when the device could not be painted on.
    bool paint(QPagedPaintDevice &device) const;

    // The card as a PDF document on the given paper, fonts embedded; empty
    // when it could not be made.
    QByteArray toPdf(const QPageLayout &paper) const;

private:
    struct Metrics;
    Metrics metricsFor(QPaintDevice &device, qreal pointSize) const;
    Layout layoutWith(const Metrics &metrics, int columns) const;
    QString pageTitle(int page, int pages) const;

    QVector<Line> cardLines;
    QString titleLine;
    QDate cardDate;
    QString fontFamily;
};
