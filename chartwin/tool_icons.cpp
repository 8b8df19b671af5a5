#include "chartwin/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace telvara {

namespace {

constexpr int kSize = 20;

struct Ink {
    QColor line, fill, accent;
};

// The disabled look is drawn, not derived: grey lines with a white emboss.
// Drawn once for each common screen ratio, so a scaled screen shows the
// lines at its own resolution instead of enlarged pixels.
constexpr qreal kRatios[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3};

QIcon makeIcon(const std::function<void(QPainter&, const Ink&)>& draw) {
    QIcon icon;
    auto picture = [&](const Ink& ink, bool embossed, qreal ratio) {
        const int side = static_cast<int>(std::ceil(kSize * ratio));
        QPixmap pm(side, side);
        pm.setDevicePixelRatio(ratio);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (embossed) {
            p.translate(1, 1);
            draw(p, Ink{Qt::white, Qt::transparent, Qt::white});
            p.translate(-1, -1);
        }
        draw(p, ink);
        return pm;
    };
    for (qreal ratio : kRatios) {
        icon.addPixmap(
            picture({QColor(0, 0, 0), QColor(192, 192, 192), QColor(0, 0, 255)}, false, ratio),
            QIcon::Normal);
        icon.addPixmap(
            picture({QColor(128, 128, 128), Qt::transparent, QColor(128, 128, 128)}, true, ratio),
            QIcon::Disabled);
    }
    return icon;
}

void drawBin(QPainter& p, const Ink& ink) {
    p.setPen(QPen(ink.line, 1));
    p.setBrush(ink.fill);
    // Body, narrowing towards the bottom.
    const QPoint body[] = {{5, 6}, {14, 6}, {13, 17}, {6, 17}};
    p.drawPolygon(body, 4);
    // Lid and handle.
    p.setBrush(Qt::NoBrush);
    p.drawLine(3, 4, 16, 4);
    p.drawRect(8, 2, 3, 2);
    // Ribs.
    p.drawLine(8, 8, 8, 15);
    p.drawLine(11, 8, 11, 15);
}

void drawLineChart(QPainter& p, const Ink& ink) {
    p.setPen(QPen(ink.line, 1));
    p.setBrush(Qt::NoBrush);
    // Axes.
    p.drawLine(3, 2, 3, 17);
    p.drawLine(3, 17, 18, 17);
    // A falling curve with its step, as on the chart.
    p.setPen(QPen(ink.accent, 2));
    const QPoint curve[] = {{5, 4}, {8, 9}, {12, 12}, {15, 12}, {15, 16}};
    p.drawPolyline(curve, 5);
}

} // namespace

QIcon wasteBinIcon() {
    return makeIcon(drawBin);
}

QIcon lineChartIcon() {
    return makeIcon(drawLineChart);
}

} // namespace telvara
