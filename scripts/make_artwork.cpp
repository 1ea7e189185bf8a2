// Draws the program's logo (852 x 638 JPEG). The window icon is
// packaging/veln.svg, the menu entry's, rendered at build time.
// Build target make_artwork; run it with the resources folder as argument.
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

void drawTower(QPainter& p, QPointF base, double height, double width, const QColor& colour, double pen)
{
    p.setPen(QPen(colour, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF top(base.x(), base.y() - height);
    const QPointF left(base.x() - width / 2, base.y());
    const QPointF right(base.x() + width / 2, base.y());
    p.drawLine(top, left);
    p.drawLine(top, right);
    // Cross bracing of the lattice mast.
    for (int i = 1; i < 5; ++i) {
        const double t = i / 5.0;
        const QPointF l = top + (left - top) * t;
        const QPointF r = top + (right - top) * t;
        p.drawLine(l, r);
        if (i < 4) {
            const QPointF l2 = top + (left - top) * (t + 0.2);
            const QPointF r2 = top + (right - top) * (t + 0.2);
            p.drawLine(l, r2);
            p.drawLine(r, l2);
        }
    }
}

void drawWaves(QPainter& p, QPointF centre, double first, double step, int count, const QColor& colour, double pen)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        const double r = first + i * step;
        QColor c = colour;
        c.setAlphaF(1.0 - i * 0.2);
        p.setPen(QPen(c, pen, Qt::SolidLine, Qt::RoundCap));
        const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        p.drawArc(box, 25 * 16, 50 * 16);
        p.drawArc(box, 105 * 16, 50 * 16);
    }
}

QImage logo()
{
    QImage img(852, 638, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 638);
    sky.setColorAt(0, QColor(10, 35, 90));
    sky.setColorAt(1, QColor(40, 110, 170));
    p.fillRect(img.rect(), sky);
    QRadialGradient glow(426, 250, 330);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    drawTower(p, QPointF(426, 430), 300, 130, QColor(235, 240, 250), 7);
    drawWaves(p, QPointF(426, 130), 50, 45, 4, QColor(255, 210, 60), 9);
    p.setBrush(QColor(255, 80, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(426, 130), 14, 14);

    p.setPen(QColor(255, 255, 255));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(64);
    p.setFont(f);
    p.drawText(QRectF(0, 450, 852, 80), Qt::AlignCenter, QStringLiteral("VELNOR"));
    f.setPixelSize(34);
    f.setBold(false);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(f);
    p.drawText(QRectF(0, 525, 852, 50), Qt::AlignCenter, QStringLiteral("AMATEUR RADIO ASSOCIATION"));
    f.setPixelSize(24);
    p.setFont(f);
    p.setPen(QColor(255, 210, 60));
    p.drawText(QRectF(0, 575, 852, 40), Qt::AlignCenter, QStringLiteral("NET CONTROL"));
    return img;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    return logo().save(dir + QStringLiteral("/images/logo.jpg"), "JPG", 90) ? 0 : 1;
}
