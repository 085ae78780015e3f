#include "resources/Icons.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace icons
{

namespace
{

// Paints each size when it is first asked for and keeps it. The window manager is offered the
// sizes up to 64 px; a 256 px window icon alone is 256 KB to paint and send to the X server
// before the window can appear, and the larger sizes are installed as files for the desktop.
class PaintedIconEngine : public QIconEngine
{
public:
    explicit PaintedIconEngine(QPixmap (*paint)(int)) : m_paint(paint) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        auto it = m_painted.constFind(side);
        if (it == m_painted.constEnd())
            it = m_painted.insert(side, m_paint(side));
        return *it;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        QList<QSize> offered;
        for (const int s : sizes) {
            if (s <= kLargestOffered)
                offered << QSize(s, s);
        }
        return offered;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(*this); }

    QString key() const override { return QStringLiteral("PaintedIconEngine"); }

private:
    static constexpr int kLargestOffered = 64;
    QPixmap (*m_paint)(int);
    QHash<int, QPixmap> m_painted;
};

QIcon fromPainter(QPixmap (*paint)(int))
{
    return QIcon(new PaintedIconEngine(paint));
}

QPixmap canvas(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

// NOLINTBEGIN(readability-magic-numbers): a drawing's proportions and colours are the picture
QPixmap paintBomb(int size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, size > 24);
    const double u = size / 32.0; // drawn on a 32-unit grid
    const bool small = size <= 24;

    // Body: a black ball, lower left.
    const QRectF body(2 * u, 9 * u, 21 * u, 21 * u);
    if (small) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(24, 24, 32));
        p.drawEllipse(body);
        p.setBrush(QColor(140, 140, 160));
        p.drawRect(QRectF(7 * u, 14 * u, 3 * u, 3 * u).toAlignedRect());
    } else {
        QRadialGradient g(body.center() - QPointF(4 * u, 4 * u), 14 * u);
        g.setColorAt(0, QColor(120, 120, 140));
        g.setColorAt(0.35, QColor(40, 40, 52));
        g.setColorAt(1, QColor(8, 8, 12));
        p.setPen(QPen(QColor(0, 0, 0), std::max(1.0, u * 0.6)));
        p.setBrush(g);
        p.drawEllipse(body);
    }
    // Cap on top of the ball, toward the fuse.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 100));
    p.save();
    p.translate(19 * u, 11 * u);
    p.rotate(45);
    p.drawRect(QRectF(-3 * u, -2.5 * u, 6 * u, 4 * u));
    p.restore();

    // Fuse.
    QPainterPath fuse(QPointF(21 * u, 9 * u));
    fuse.cubicTo(QPointF(22 * u, 4 * u), QPointF(25 * u, 6 * u), QPointF(26 * u, 4.5 * u));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 110, 60), std::max(1.0, 1.6 * u), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(fuse);

    // Spark: a yellow star with an orange heart at the fuse's tip.
    const QPointF tip(26.5 * u, 4.5 * u);
    QPainterPath star;
    for (int i = 0; i < 16; ++i) {
        const double r = (i % 2 == 0 ? 4.5 : 1.6) * u;
        const double a = i * 3.14159265358979 / 8;
        const QPointF pt = tip + QPointF(r * std::cos(a), r * std::sin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 0));
    p.drawPath(star);
    p.setBrush(QColor(255, 100, 0));
    p.drawEllipse(tip, 1.4 * u, 1.4 * u);
    return pm;
}
// NOLINTEND(readability-magic-numbers)

namespace
{

// NOLINTBEGIN(readability-magic-numbers): a drawing's proportions and colours are the picture
QPixmap paintError(int size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    const double u = size / 32.0;
    const QRectF disc(1 * u, 1 * u, 28 * u, 28 * u);

    // Grey shadow to the lower right.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 128, 200));
    p.drawEllipse(disc.translated(2.5 * u, 2.5 * u));

    // Red disc with a dark-red rim.
    p.setPen(QPen(QColor(128, 0, 0), std::max(1.0, 1.2 * u)));
    p.setBrush(QColor(230, 0, 0));
    p.drawEllipse(disc);

    // White diagonal cross.
    const double w = std::max(size <= 16 ? 2.0 : 1.0, 3.6 * u);
    p.setPen(QPen(Qt::white, w, Qt::SolidLine, size <= 16 ? Qt::SquareCap : Qt::RoundCap));
    const QPointF c = disc.center();
    const double d = 6.5 * u;
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
    return pm;
}

QPixmap paintOverflow(int size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    const double u = size / 16.0; // two chevrons on a 16-unit grid
    p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, 1.5 * u), Qt::SolidLine, Qt::SquareCap,
                  Qt::MiterJoin));
    for (const double x : {4.0, 8.5}) {
        const QPointF chevron[] = {{x * u, 4 * u}, {(x + 3.5) * u, 8 * u}, {x * u, 12 * u}};
        p.drawPolyline(chevron, 3);
    }
    return pm;
}
// NOLINTEND(readability-magic-numbers)

} // namespace

QIcon bomb()
{
    static const QIcon icon = fromPainter(&paintBomb);
    return icon;
}

QIcon error()
{
    static const QIcon icon = fromPainter(&paintError);
    return icon;
}

QIcon overflow()
{
    static const QIcon icon = fromPainter(&paintOverflow);
    return icon;
}

QIcon none()
{
    static const QIcon icon = fromPainter([](int) { return QPixmap(); });
    return icon;
}

} // namespace icons
