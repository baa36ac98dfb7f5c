#include "tools/Symbols.h"

#include "tools/Raster.h"

#include <QPainterPath>
#include <cmath>

namespace {

const QColor kWindowBlue(127, 159, 240);
const QColor kDarkBlue(10, 40, 112);
const QColor kWhite(255, 255, 255);

QPainterPath Ellipse(double cx, double cy, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

void Stroke(QPainter& p, const QPainterPath& path, QColor colour, double width) {
    p.strokePath(path, QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A spin arrow: a white triangle with a dark outline, pointing up or down.
QImage Arrow(bool up) {
    return RenderSmooth(17, 11, kWindowBlue, [up](QPainter& p) {
        QPainterPath triangle;
        const double tip = up ? 2.2 : 8.8, base = up ? 8.8 : 2.2;
        triangle.moveTo(8.5, tip);
        triangle.lineTo(14, base);
        triangle.lineTo(3, base);
        triangle.closeSubpath();
        p.fillPath(triangle, kWhite);
        Stroke(p, triangle, kDarkBlue, 1.1);
    });
}

// The alarm switch: a golden ringing bell when on, a grey bell struck through when off.
QImage Bell(bool on) {
    return RenderSmooth(30, 26, kWindowBlue, [on](QPainter& p) {
        const QColor body = on ? QColor(250, 196, 40) : QColor(176, 180, 190);
        const QColor edge = on ? QColor(150, 96, 10) : QColor(90, 94, 106);
        QPainterPath bell;
        bell.moveTo(15, 4);
        bell.cubicTo(21, 4, 22, 9, 22, 13);
        bell.cubicTo(22, 17, 23, 18, 25, 20);
        bell.lineTo(5, 20);
        bell.cubicTo(7, 18, 8, 17, 8, 13);
        bell.cubicTo(8, 9, 9, 4, 15, 4);
        bell.closeSubpath();
        p.fillPath(bell, body);
        Stroke(p, bell, edge, 1.2);
        p.fillPath(Ellipse(15, 21.5, 2.6, 2.3), edge);
        p.fillPath(Ellipse(15, 3.4, 1.6, 1.4), edge);
        if (on) {
            for (int side : {-1, 1}) {
                for (int i = 0; i < 2; ++i) {
                    QPainterPath wave;
                    const double x = 15 + side * (10 + i * 3.5);
                    wave.moveTo(x - side * 1.5, 7 - i * 1.5);
                    wave.quadTo(x + side * 1.5, 12, x - side * 1.5, 17 + i * 1.5);
                    Stroke(p, wave, QColor(30, 120, 40), 1.6);
                }
            }
        } else {
            QPainterPath slash;
            slash.moveTo(5, 3);
            slash.lineTo(25, 23);
            Stroke(p, slash, kWindowBlue, 4.2);
            Stroke(p, slash, QColor(210, 40, 40), 2.4);
        }
    });
}

// The gender symbols: Mars in blue, Venus in rose, bold.
QImage Gender(bool male) {
    return RenderSmooth(44, 44, kWindowBlue, [male](QPainter& p) {
        const QColor colour = male ? QColor(30, 80, 200) : QColor(220, 50, 120);
        const QColor light = male ? QColor(200, 220, 255) : QColor(255, 214, 232);
        if (male) {
            p.fillPath(Ellipse(18, 26, 10.5, 10.5), light);
            Stroke(p, Ellipse(18, 26, 10.5, 10.5), colour, 4);
            QPainterPath arrow;
            arrow.moveTo(25.5, 18.5);
            arrow.lineTo(36, 8);
            Stroke(p, arrow, colour, 4);
            QPainterPath head;
            head.moveTo(38.5, 5.5);
            head.lineTo(38.5, 17);
            head.lineTo(27, 5.5);
            head.closeSubpath();
            p.fillPath(head, colour);
        } else {
            p.fillPath(Ellipse(22, 16, 10.5, 10.5), light);
            Stroke(p, Ellipse(22, 16, 10.5, 10.5), colour, 4);
            QPainterPath cross;
            cross.moveTo(22, 27);
            cross.lineTo(22, 40);
            cross.moveTo(15.5, 34);
            cross.lineTo(28.5, 34);
            Stroke(p, cross, colour, 4);
        }
    });
}

// A waste bin with a lid and ribs.
QImage Trash() {
    return RenderSmooth(24, 26, kWindowBlue, [](QPainter& p) {
        const QColor metal(214, 218, 226), edge(70, 76, 92), rib(140, 146, 160);
        QPainterPath can;
        can.moveTo(5.5, 8);
        can.lineTo(18.5, 8);
        can.lineTo(17.2, 23);
        can.lineTo(6.8, 23);
        can.closeSubpath();
        p.fillPath(can, metal);
        Stroke(p, can, edge, 1.2);
        for (double x : {9.3, 12.0, 14.7}) {
            QPainterPath line;
            line.moveTo(x, 10.5);
            line.lineTo(x + (x - 12) * 0.1, 20.5);
            Stroke(p, line, rib, 1.2);
        }
        QPainterPath lid;
        lid.addRoundedRect(QRectF(3.5, 5, 17, 2.8), 1, 1);
        p.fillPath(lid, metal);
        Stroke(p, lid, edge, 1.1);
        QPainterPath handle;
        handle.moveTo(9.5, 5);
        handle.lineTo(9.5, 3);
        handle.lineTo(14.5, 3);
        handle.lineTo(14.5, 5);
        Stroke(p, handle, edge, 1.1);
    });
}

void Candle(QPainter& p, double x, double base, double height, QColor colour) {
    QPainterPath candle;
    candle.addRoundedRect(QRectF(x - 3, base - height, 6, height), 1.5, 1.5);
    p.fillPath(candle, colour);
    for (int i = 0; i < 3; ++i) {
        QPainterPath stripe;
        stripe.moveTo(x - 3, base - height + 4 + i * 6);
        stripe.lineTo(x + 3, base - height + 1 + i * 6);
        Stroke(p, stripe, QColor(255, 255, 255), 1.4);
    }
    QPainterPath wick;
    wick.moveTo(x, base - height);
    wick.lineTo(x, base - height - 3);
    Stroke(p, wick, QColor(60, 50, 40), 1);
    QPainterPath flame;
    const double top = base - height - 14;
    flame.moveTo(x, top);
    flame.cubicTo(x + 5, top + 5, x + 5, top + 11, x, top + 11);
    flame.cubicTo(x - 5, top + 11, x - 5, top + 5, x, top);
    p.fillPath(flame, QColor(255, 190, 40));
    p.fillPath(Ellipse(x, top + 8, 2, 3), QColor(255, 246, 180));
}

// Icing along the top of a tier, dripping over its edge.
QPainterPath Icing(double left, double right, double top, double depth) {
    QPainterPath icing;
    icing.moveTo(left, top);
    icing.lineTo(right, top);
    icing.lineTo(right, top + depth * 0.5);
    const int drips = 7;
    const double step = (right - left) / drips;
    for (int i = drips; i > 0; --i) {
        const double x = left + i * step;
        const double low = top + depth * (i % 2 ? 1.25 : 0.8);
        icing.quadTo(x - step * 0.25, low + 2, x - step * 0.5, low);
        icing.quadTo(x - step * 0.75, top + depth * 0.45, x - step, top + depth * 0.5);
    }
    icing.closeSubpath();
    return icing;
}

} // namespace

std::vector<tSymbol> DrawSymbols() {
    return {{"inc.bmp", Arrow(true)},   {"dec.bmp", Arrow(false)},  {"true.bmp", Bell(true)},
            {"false.bmp", Bell(false)}, {"male.bmp", Gender(true)}, {"female.bmp", Gender(false)},
            {"trash.bmp", Trash()}};
}

QImage DrawDefaultPicture() {
    return RenderSmooth(180, 180, kWindowBlue, [](QPainter& p) {
        p.fillPath(Ellipse(90, 90, 86, 86), QColor(255, 236, 214));
        // Confetti.
        const QColor confetti[] = {QColor(240, 90, 110), QColor(80, 170, 230), QColor(250, 200, 50),
                                   QColor(110, 200, 120), QColor(170, 110, 220)};
        const double spots[][2] = {{40, 40},  {140, 36},  {28, 96}, {152, 90}, {60, 22}, {118, 20},
                                   {36, 134}, {146, 132}, {90, 14}, {22, 66},  {158, 62}};
        for (int i = 0; i < 11; ++i) {
            p.save();
            p.translate(spots[i][0], spots[i][1]);
            p.rotate(i * 37);
            QPainterPath piece;
            piece.addRoundedRect(QRectF(-4, -1.8, 8, 3.6), 1.2, 1.2);
            p.fillPath(piece, confetti[i % 5]);
            p.restore();
        }
        // Plate.
        p.fillPath(Ellipse(90, 150, 62, 9), QColor(236, 240, 248));
        p.fillPath(Ellipse(90, 148, 56, 6.5), QColor(250, 252, 255));
        // Lower tier.
        QPainterPath lower;
        lower.addRoundedRect(QRectF(38, 110, 104, 38), 6, 6);
        p.fillPath(lower, QColor(156, 96, 64));
        p.fillPath(Icing(38, 142, 110, 12), QColor(255, 182, 204));
        for (int i = 0; i < 5; ++i)
            p.fillPath(Ellipse(52 + i * 19, 136, 3, 3), QColor(255, 246, 250));
        // Upper tier.
        QPainterPath upper;
        upper.addRoundedRect(QRectF(54, 78, 72, 34), 6, 6);
        p.fillPath(upper, QColor(176, 112, 76));
        p.fillPath(Icing(54, 126, 78, 11), QColor(255, 250, 244));
        p.fillPath(Ellipse(90, 100, 5, 5), QColor(220, 40, 70));
        // Candles.
        Candle(p, 70, 79, 22, QColor(100, 170, 240));
        Candle(p, 90, 79, 26, QColor(240, 110, 150));
        Candle(p, 110, 79, 22, QColor(120, 200, 120));
    });
}

QImage DrawIcon(int size) {
    // Drawn in a 64-unit square and smoothed; transparent outside the calendar sheet.
    const QColor key(1, 2, 3);
    QImage icon = RenderSmooth(size, size, key, [size](QPainter& p) {
        p.scale(size / 64.0, size / 64.0);
        QPainterPath sheet;
        sheet.addRoundedRect(QRectF(4, 7, 56, 53), 7, 7);
        p.fillPath(sheet, QColor(252, 252, 255));
        QPainterPath header;
        header.setFillRule(Qt::WindingFill);
        header.addRoundedRect(QRectF(4, 7, 56, 17), 7, 7);
        header.addRect(QRectF(4, 16, 56, 8));
        p.fillPath(header.simplified(), QColor(20, 82, 228));
        for (double x : {18.0, 46.0}) {
            QPainterPath ring;
            ring.addRoundedRect(QRectF(x - 2.5, 2, 5, 11), 2.5, 2.5);
            p.fillPath(ring, QColor(10, 40, 112));
        }
        // A cupcake with a candle on the sheet.
        QPainterPath cup;
        cup.moveTo(20, 41);
        cup.lineTo(44, 41);
        cup.lineTo(40, 55);
        cup.lineTo(24, 55);
        cup.closeSubpath();
        p.fillPath(cup, QColor(255, 123, 47));
        QPainterPath cream;
        cream.moveTo(18, 42);
        cream.cubicTo(18, 33, 26, 31, 32, 31);
        cream.cubicTo(38, 31, 46, 33, 46, 42);
        cream.closeSubpath();
        p.fillPath(cream, QColor(255, 160, 190));
        p.fillPath(Ellipse(32, 31, 3, 3), QColor(220, 30, 60));
        QPainterPath candle;
        candle.addRect(QRectF(31, 22, 2.4, 8));
        p.fillPath(candle, QColor(80, 160, 240));
        QPainterPath flame;
        flame.moveTo(32.2, 15);
        flame.cubicTo(35, 18, 35, 21, 32.2, 21.5);
        flame.cubicTo(29.4, 21, 29.4, 18, 32.2, 15);
        p.fillPath(flame, QColor(255, 200, 40));
    });
    // The smoothed edge against the key colour becomes partial transparency.
    QImage result(size, size, QImage::Format_ARGB32);
    const QImage mask = RenderSmooth(size, size, QColor(0, 0, 0), [size](QPainter& p) {
        p.scale(size / 64.0, size / 64.0);
        QPainterPath sheet;
        sheet.setFillRule(Qt::WindingFill);
        sheet.addRoundedRect(QRectF(4, 7, 56, 53), 7, 7);
        for (double x : {18.0, 46.0})
            sheet.addRoundedRect(QRectF(x - 2.5, 2, 5, 11), 2.5, 2.5);
        p.fillPath(sheet.simplified(), QColor(255, 255, 255));
    });
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int alpha = qRed(mask.pixel(x, y));
            QRgb colour = icon.pixel(x, y);
            if (alpha > 0 && alpha < 255) {
                // Undo the blend with the key colour.
                auto unblend = [alpha](int c, int k) {
                    return std::clamp((c * 255 - k * (255 - alpha)) / alpha, 0, 255);
                };
                colour = qRgb(unblend(qRed(colour), 1), unblend(qGreen(colour), 2),
                              unblend(qBlue(colour), 3));
            }
            result.setPixel(
                x, y, alpha == 0 ? 0u : qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha));
        }
    return result;
}
