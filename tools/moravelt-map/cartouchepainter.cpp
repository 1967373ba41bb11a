// SPDX-License-Identifier: MIT

#include "cartouchepainter.h"

#include "mapstyle.h"

#include <QFontMetricsF>

namespace moravelt {

void CartouchePainter::paint(const QRectF& box)
{
    const double s = m_scale;
    m_painter.setPen(QPen(MapStyle::paperBorder, 3 * s));
    m_painter.setBrush(MapStyle::paper);
    m_painter.drawRoundedRect(box, 10 * s, 10 * s);
    m_painter.setPen(QPen(MapStyle::paperBorder, 1 * s));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRoundedRect(box.adjusted(6 * s, 6 * s, -6 * s, -6 * s), 6 * s, 6 * s);

    double y = box.top() + 22 * s;
    y = title(box, y);
    y = howToPlay(box, y);
    y = legend(box, y);
    scaleBar(box, y);
    hint(box);
}

void CartouchePainter::hint(const QRectF& box)
{
    const double s = m_scale;
    const QFont font = MapStyle::font(17 * s, true);
    const QString line = QStringLiteral("地図をドラッグして日本の旅へ ➘");
    const double width = QFontMetricsF(font).horizontalAdvance(line);
    text({box.right() - 24 * s - width, box.bottom() - 24 * s}, line, font);
}

void CartouchePainter::text(const QPointF& baseline, const QString& text, const QFont& font)
{
    m_painter.setFont(font);
    m_painter.setPen(MapStyle::ink);
    m_painter.drawText(baseline, text);
}

double CartouchePainter::title(const QRectF& box, double y)
{
    const double s = m_scale;
    const QFont big = MapStyle::font(58 * s, true);
    const QFont sub = MapStyle::font(18 * s);
    const QString name = QStringLiteral("モラベルト");
    const QString line = QStringLiteral("日本をめぐる旅とクイズの地図");
    const double nameWidth = QFontMetricsF(big).horizontalAdvance(name);
    const double lineWidth = QFontMetricsF(sub).horizontalAdvance(line);
    y += QFontMetricsF(big).ascent();
    text({box.center().x() - nameWidth / 2, y}, name, big);
    y += 34 * s;
    text({box.center().x() - lineWidth / 2, y}, line, sub);
    y += 16 * s;
    m_painter.setPen(QPen(MapStyle::paperBorder, 1.2 * s));
    m_painter.drawLine(QPointF(box.left() + 24 * s, y), QPointF(box.right() - 24 * s, y));
    return y + 12 * s;
}

double CartouchePainter::howToPlay(const QRectF& box, double y)
{
    const double s = m_scale;
    const QFont head = MapStyle::font(19 * s, true);
    const QFont body = MapStyle::font(17 * s);
    const double left = box.left() + 24 * s;
    y += 22 * s;
    text({left, y}, QStringLiteral("遊び方"), head);
    const QStringList steps{
        QStringLiteral("ドラッグで地図を動かす"),
        QStringLiteral("町にポインタを重ねると情報ウィンドウにクイズ"),
        QStringLiteral("右クリックで出発地・目的地"),
        QStringLiteral("ナビ作成でルート検索"),
        QStringLiteral("道の途中には隠れた町も…"),
    };
    for (const QString& step : steps) {
        y += 29 * s;
        text({left + 6 * s, y}, QStringLiteral("・") + step, body);
    }
    return y + 16 * s;
}

double CartouchePainter::legend(const QRectF& box, double y)
{
    const double s = m_scale;
    const QFont head = MapStyle::font(19 * s, true);
    const QFont body = MapStyle::font(16 * s);
    const double left = box.left() + 24 * s;
    y += 20 * s;
    text({left, y}, QStringLiteral("凡例"), head);
    y += 30 * s;
    const double mid = y - 5 * s;
    // A town dot.
    m_painter.setPen(QPen(MapStyle::townRing, MapStyle::dotRingWidth * s));
    m_painter.setBrush(MapStyle::townDot);
    const double r = MapStyle::dotDiameter * s / 2;
    m_painter.drawEllipse(QPointF(left + 14 * s, mid), r, r);
    text({left + 28 * s, y}, QStringLiteral("町"), body);
    // A road and a ferry.
    const double roadLeft = left + 80 * s;
    m_painter.setPen(QPen(MapStyle::road, MapStyle::roadWidth * s, Qt::SolidLine, Qt::RoundCap));
    m_painter.drawLine(QPointF(roadLeft, mid), QPointF(roadLeft + 40 * s, mid));
    text({roadLeft + 48 * s, y}, QStringLiteral("道路"), body);
    const double ferryLeft = roadLeft + 120 * s;
    QPen dashed(MapStyle::ferry, MapStyle::ferryWidth * s, Qt::DashLine, Qt::FlatCap);
    m_painter.setPen(dashed);
    m_painter.drawLine(QPointF(ferryLeft, mid), QPointF(ferryLeft + 40 * s, mid));
    text({ferryLeft + 48 * s, y}, QStringLiteral("航路"), body);
    return y + 12 * s;
}

double CartouchePainter::scaleBar(const QRectF& box, double y)
{
    const double s = m_scale;
    const QFont small = MapStyle::font(13 * s);
    const double left = box.left() + 24 * s;
    const double length = 100 * m_pixelsPerKm;
    y += 18 * s;
    m_painter.setPen(QPen(MapStyle::ink, 1.5 * s));
    m_painter.setBrush(MapStyle::ink);
    m_painter.drawRect(QRectF(left, y, length / 2, 5 * s));
    m_painter.setBrush(MapStyle::paper);
    m_painter.drawRect(QRectF(left + length / 2, y, length / 2, 5 * s));
    const double below = y + 5 * s + 16 * s;
    text({left - 3 * s, below}, QStringLiteral("0"), small);
    text({left + length / 2 - 8 * s, below}, QStringLiteral("50"), small);
    text({left + length - 10 * s, below}, QStringLiteral("100 km"), small);
    text({left, below + 22 * s}, QStringLiteral("南西諸島の枠内は縮尺が異なります"), small);
    return below + 22 * s;
}

} // namespace moravelt
