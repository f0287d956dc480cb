// Saves a picture of the whole X display (used under Xvfb by the
// screenshot script), cropped to the given width and height.
// usage: vkr-screen-grab <file.png> [width height]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 4) {
        QTextStream(stderr) << "usage: vkr-screen-grab <file.png> [width height]\n";
        return 2;
    }
    const int width = argc == 4 ? QString(argv[2]).toInt() : -1;
    const int height = argc == 4 ? QString(argv[3]).toInt() : -1;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, width, height);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        QTextStream(stderr) << "vkr-screen-grab: could not take or save the picture\n";
        return 1;
    }
    return 0;
}
