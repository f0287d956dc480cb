#pragma once

#include <QPageLayout>
#include <QString>

class QSettings;

// What the window remembers about channel cards, in its settings store: the
// paper last chosen when printing one (also the paper of an exported card)
// and the folder a card was last exported to.
namespace CardSettings {

// The paper and orientation last chosen, with the card's margins; A5
// portrait until one was chosen.
QPageLayout paper(const QSettings &settings);

// Keeps the paper of the layout when it is a standard size (A4, A5, A6,
// Letter, Statement/Half Letter, ...), and its orientation.
void storePaper(QSettings &settings, const QPageLayout &layout);

// The folder a card was last exported to, or an empty text.
QString folder(const QSettings &settings);
void storeFolder(QSettings &settings, const QString &folder);

} // namespace CardSettings
