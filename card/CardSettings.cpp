#include "CardSettings.h"

#include "ChannelCard.h"

#include <QSettings>

namespace {

constexpr char paperKey[] = "CardPaper";             // the paper's standard name, e.g. "A5", "Letter"
constexpr char orientationKey[] = "CardOrientation"; // "Portrait" or "Landscape"
constexpr char folderKey[] = "CardDirectory";
constexpr char landscape[] = "Landscape";
constexpr char portrait[] = "Portrait";

// The standard paper with the given name; a size no longer known (a store
// written by another version) counts as no choice.
QPageSize::PageSizeId paperNamed(const QString &name)
{
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto size = QPageSize::PageSizeId(id);
        if (size != QPageSize::Custom && QPageSize::key(size) == name)
            return size;
    }
    return QPageSize::Custom;
}

} // namespace

namespace CardSettings {

QPageLayout paper(const QSettings &settings)
{
    const QPageSize::PageSizeId size = paperNamed(settings.value(QLatin1String(paperKey)).toString());
    if (size == QPageSize::Custom)
        return ChannelCard::defaultPageLayout();
    const bool isLandscape = settings.value(QLatin1String(orientationKey)).toString() == QLatin1String(landscape);
    return ChannelCard::pageLayout(QPageSize(size), isLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void storePaper(QSettings &settings, const QPageLayout &layout)
{
    const QPageSize::PageSizeId size = layout.pageSize().id();
    if (size == QPageSize::Custom)
        return;
    settings.setValue(QLatin1String(paperKey), QPageSize::key(size));
    settings.setValue(QLatin1String(orientationKey),
                      QLatin1String(layout.orientation() == QPageLayout::Landscape ? landscape : portrait));
}

QString folder(const QSettings &settings)
{
    return settings.value(QLatin1String(folderKey)).toString();
}

void storeFolder(QSettings &settings, const QString &folder)
{
    settings.setValue(QLatin1String(folderKey), folder);
}

} // namespace CardSettings
