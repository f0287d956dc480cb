// Draws the program's images: the toolbar and device icons, the maker's logo
// and the application icon. Run once by scripts/make-images.sh; its output is
// committed under resources/.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void drawFolder(QPainter &p)
{
    p.setPen(QPen(QColor(120, 85, 20), 1.2));
    p.setBrush(QColor(236, 186, 72));
    QPainterPath back;
    back.moveTo(2, 7);
    back.lineTo(12, 7);
    back.lineTo(14, 10);
    back.lineTo(29, 10);
    back.lineTo(29, 27);
    back.lineTo(2, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 212, 110));
    QPainterPath front;
    front.moveTo(2, 27);
    front.lineTo(6, 14);
    front.lineTo(31, 14);
    front.lineTo(28, 27);
    front.closeSubpath();
    p.drawPath(front);
}

void drawDisk(QPainter &p)
{
    p.setPen(QPen(QColor(20, 40, 90), 1.2));
    p.setBrush(QColor(48, 92, 180));
    QPainterPath body;
    body.moveTo(3, 3);
    body.lineTo(25, 3);
    body.lineTo(29, 7);
    body.lineTo(29, 29);
    body.lineTo(3, 29);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(225, 230, 240));
    p.drawRect(QRectF(8, 3.5, 15, 9));
    p.setBrush(QColor(48, 92, 180));
    p.drawRect(QRectF(18, 5, 3, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 17, 18, 11));
    p.setPen(QPen(QColor(150, 160, 180), 1));
    for (int y = 20; y <= 26; y += 3)
        p.drawLine(QPointF(9, y), QPointF(23, y));
}

// A hand-held radio lying on its side, with an arrow for the direction of
// the transfer: into the computer (down) or into the radio (up).
void drawRadio(QPainter &p, bool arrowDown)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    QLinearGradient body(0, 6, 0, 40);
    body.setColorAt(0, QColor(90, 90, 95));
    body.setColorAt(1, QColor(40, 40, 45));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2, 8, 54, 31), 5, 5);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(8, 3, 4, 6)); // antenna socket
    p.setBrush(QColor(160, 210, 150));
    p.drawRect(QRectF(7, 13, 28, 11)); // display
    p.setPen(QPen(QColor(30, 60, 30), 1));
    p.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 6));
    p.drawText(QRectF(7, 13, 28, 11), Qt::AlignCenter, QStringLiteral("121.50"));
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(200, 200, 200));
    for (int k = 0; k < 4; ++k)
        p.drawRoundedRect(QRectF(7 + k * 7, 28, 5, 6), 1, 1);
    p.setBrush(QColor(120, 120, 125));
    p.drawEllipse(QPointF(45, 23), 7, 7);

    QColor arrowColour = arrowDown ? QColor(30, 140, 60) : QColor(200, 90, 20);
    p.setPen(QPen(arrowColour.darker(150), 1));
    p.setBrush(arrowColour);
    QPainterPath arrow;
    if (arrowDown) {
        arrow.moveTo(66, 4);
        arrow.lineTo(74, 4);
        arrow.lineTo(74, 22);
        arrow.lineTo(79, 22);
        arrow.lineTo(70, 38);
        arrow.lineTo(61, 22);
        arrow.lineTo(66, 22);
    } else {
        arrow.moveTo(66, 38);
        arrow.lineTo(74, 38);
        arrow.lineTo(74, 20);
        arrow.lineTo(79, 20);
        arrow.lineTo(70, 4);
        arrow.lineTo(61, 20);
        arrow.lineTo(66, 20);
    }
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void drawLogo(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = size.height();
    // A stylised wing of three sweeping strokes.
    for (int k = 0; k < 3; ++k) {
        QPainterPath stroke;
        const qreal y = h * (0.28 + 0.17 * k);
        stroke.moveTo(h * 0.08, y + h * 0.12);
        stroke.cubicTo(h * 0.35, y - h * 0.18, h * 0.7, y - h * 0.12, h * 0.95, y - h * 0.02);
        p.setPen(QPen(QColor(20, 70 + 40 * k, 150 + 30 * k), h * 0.07, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stroke);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(h * 0.42));
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("CORVANE"));
    const QRectF bounds = text.boundingRect();
    const QRectF target(h * 1.1, h * 0.12, size.width() - h * 1.2, h * 0.76);
    const qreal scale = qMin(target.width() / bounds.width(), target.height() / bounds.height());
    QTransform placement;
    placement.translate(target.left(), target.center().y() + bounds.height() * scale / 2);
    placement.scale(scale, scale);
    placement.translate(-bounds.left(), -bounds.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 45, 95));
    p.drawPath(placement.map(text));
}

void drawApplicationIcon(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 256);
    sky.setColorAt(0, QColor(70, 140, 220));
    sky.setColorAt(1, QColor(20, 60, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);
    p.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int k = 1; k <= 3; ++k)
        p.drawArc(QRectF(128 - 30 * k, 110 - 30 * k, 60 * k, 60 * k), 45 * 16, 90 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(128, 110), 12, 12);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setBold(true);
    font.setPixelSize(40);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(8, 160, 240, 60), Qt::AlignCenter, QStringLiteral("121.500"));
}

template<typename Draw>
bool writeImage(const QString &path, int width, int height, Draw draw)
{
    QImage image = blankImage(width, height);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    return image.save(path, "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: vkr-image-generator <resources folder>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = writeImage(out.filePath(QStringLiteral("images/open.png")), 32, 32, drawFolder)
        && writeImage(out.filePath(QStringLiteral("images/save.png")), 32, 32, drawDisk)
        && writeImage(out.filePath(QStringLiteral("images/VKR627down.png")), 80, 42,
                      [](QPainter &p) { drawRadio(p, true); })
        && writeImage(out.filePath(QStringLiteral("images/VKR627up.png")), 80, 42,
                      [](QPainter &p) { drawRadio(p, false); })
        && writeImage(out.filePath(QStringLiteral("images/Corvane_Logo-transparent.png")), 2126, 772,
                      [](QPainter &p) { drawLogo(p, QSize(2126, 772)); })
        && writeImage(out.filePath(QStringLiteral("VKRFrequencyTool.png")), 256, 256, drawApplicationIcon);
    if (ok) {
        const QImage icon(out.filePath(QStringLiteral("VKRFrequencyTool.png")));
        ok = icon.save(out.filePath(QStringLiteral("VKRFrequencyTool.ico")), "ICO");
    }
    if (!ok)
        QTextStream(stderr) << "vkr-image-generator: could not write the images\n";
    return ok ? 0 : 1;
}
