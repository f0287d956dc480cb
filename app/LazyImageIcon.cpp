#include "LazyImageIcon.h"

#include "QtCompat.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPixmap>

namespace {

class LazyImageIconEngine : public QIconEngine
{
public:
    explicit LazyImageIconEngine(const QString &fileName)
        : fileName(fileName)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) VKR_ICON_ENGINE_CONST override
    {
        return {QImageReader(fileName).size()}; // from the file's header alone
    }

    QIconEngine *clone() const override { return new LazyImageIconEngine(fileName); }

    QString key() const override { return QStringLiteral("LazyImageIconEngine"); }

    void virtual_hook(int id, void *data) override
    {
        switch (id) {
        case IsNullHook:
            *static_cast<bool *>(data) = false;
            break;
        default:
            QIconEngine::virtual_hook(id, data);
        }
    }

private:
    const QIcon &icon()
    {
        if (loaded.isNull())
            loaded = QIcon(QPixmap(fileName));
        return loaded;
    }

    QString fileName;
    QIcon loaded;
};

} // namespace

QIcon lazyImageIcon(const QString &fileName)
{
    return QIcon(new LazyImageIconEngine(fileName));
}
