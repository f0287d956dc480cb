// Writes the application icon in the sizes desktops look for, scaled from
// the one 256 x 256 picture under resources/, into an icon theme folder:
// <folder>/hicolor/<n>x<n>/apps/<name>.png for each size n. Run by the build.
#include <QDir>
#include <QImage>
#include <QString>
#include <QTextStream>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        QTextStream(stderr) << "usage: vkr-icon-sizes <picture.png> <theme folder> <icon name> <size>...\n";
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        QTextStream(stderr) << "vkr-icon-sizes: cannot read " << argv[1] << "\n";
        return 1;
    }
    const QString themeFolder = QString::fromLocal8Bit(argv[2]);
    const QString fileName = QString::fromLocal8Bit(argv[3]) + QStringLiteral(".png");
    for (int k = 4; k < argc; ++k) {
        const int size = QString::fromLatin1(argv[k]).toInt();
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(themeFolder, QString::number(size));
        // Smooth scaling averages the source pixels: thin lines fade rather than vanish.
        const QImage icon = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (size <= 0 || !QDir().mkpath(folder) || !icon.save(folder + QLatin1Char('/') + fileName, "PNG")) {
            QTextStream(stderr) << "vkr-icon-sizes: cannot write the " << argv[k] << " pixel icon into " << folder << "\n";
            return 1;
        }
    }
    return 0;
}
