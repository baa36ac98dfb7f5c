#include "tools/Portraits.h"

#include "tools/Raster.h"

#include <QPainterPath>
#include <cmath>

namespace {

const QColor kWindowBlue(127, 159, 240);

enum class tAge { Child, Teen, Adult, Senior };
enum class tHair {
    Short,
    SidePart,
    Buzz,
    Bald,
    Curly,
    Spiky,
    Afro,
    Long,
    Bob,
    Ponytail,
    Bun,
    Wavy,
    Pixie,
    Braids
};
enum class tFace { None, Beard, Moustache, Goatee, Stubble };
enum class tNeck { Round, VNeck, ShirtTie, Collar, Turtle, Cardigan, Hoodie, Straps };

struct tPerson {
    bool m_Female;
    tAge m_Age;
    QColor m_Skin;
    QColor m_Hair;
    tHair m_Style;
    QColor m_Eyes;
    bool m_Glasses;
    tFace m_Face;
    QColor m_Clothes;
    tNeck m_Neck;
    QColor m_Accent; // tie, inner shirt, necklace, earrings
    QColor m_Disc;   // the pastel disc behind the person
    bool m_Freckles = false;
    bool m_Earrings = false;
    bool m_Lipstick = false;
    bool m_OpenSmile = false;
};

QColor Shade(QColor colour, int percent) {
    return QColor::fromRgb(std::clamp(colour.red() * percent / 100, 0, 255),
                           std::clamp(colour.green() * percent / 100, 0, 255),
                           std::clamp(colour.blue() * percent / 100, 0, 255));
}

QColor Mix(QColor a, QColor b, int percentOfB) {
    auto mix = [percentOfB](int x, int y) {
        return (x * (100 - percentOfB) + y * percentOfB) / 100;
    };
    return QColor::fromRgb(mix(a.red(), b.red()), mix(a.green(), b.green()),
                           mix(a.blue(), b.blue()));
}

// Skin tones, light to dark.
const QColor kSkin[] = {QColor(255, 224, 200), QColor(246, 205, 170), QColor(228, 180, 140),
                        QColor(200, 146, 104), QColor(160, 108, 72),  QColor(112, 72, 48)};
// Hair colours.
const QColor kBlack(40, 34, 34), kDarkBrown(84, 56, 40), kBrown(128, 84, 50), kAuburn(152, 68, 40),
    kBlonde(226, 190, 110), kRed(200, 90, 40), kGrey(170, 170, 176), kWhite(236, 236, 240),
    kSalt(132, 128, 128);
// Eye colours.
const QColor kEyeBrown(96, 62, 36), kEyeBlue(70, 130, 200), kEyeGreen(80, 140, 90),
    kEyeDark(50, 36, 30), kEyeHazel(140, 110, 50);
// Discs.
const QColor kMint(200, 238, 214), kPeach(255, 218, 196), kLemon(252, 240, 184),
    kLavender(222, 210, 250), kSky(196, 226, 255), kRose(255, 210, 224), kSage(214, 232, 196),
    kSand(240, 226, 204);

struct tGeometry {
    double cx = 90, cy = 80; // centre of the head
    double rx = 31, top = 38, chin = 122, jaw = 0.78;
    double eyeY = 82, eyeDx = 13, eyeR = 5.5;
    double shoulders = 70, shoulderY = 146;
};

tGeometry GeometryFor(const tPerson& person) {
    tGeometry g;
    switch (person.m_Age) {
    case tAge::Child:
        g.rx = 33, g.top = 44, g.chin = 122, g.jaw = 0.86, g.cy = 84, g.eyeY = 88, g.eyeR = 6.5,
        g.eyeDx = 13.5, g.shoulders = 54, g.shoulderY = 150;
        break;
    case tAge::Teen:
        g.rx = 30, g.top = 40, g.chin = 121, g.jaw = 0.8, g.eyeY = 83, g.eyeR = 5.8,
        g.shoulders = 62;
        break;
    case tAge::Adult:
        break;
    case tAge::Senior:
        g.rx = 32, g.top = 40, g.chin = 123, g.jaw = 0.8, g.eyeR = 5, g.shoulders = 68;
        break;
    }
    if (person.m_Female)
        g.shoulders -= 6, g.jaw -= 0.04;
    return g;
}

// An egg-shaped head: round on top, narrower at the chin.
QPainterPath HeadPath(const tGeometry& g, double grow = 0) {
    const double cx = g.cx, rx = g.rx + grow, top = g.top - grow, chin = g.chin + grow / 2;
    const double mid = g.cy;
    QPainterPath path;
    path.moveTo(cx, top);
    path.cubicTo(cx + rx * 0.58, top, cx + rx, mid - (mid - top) * 0.58, cx + rx, mid);
    path.cubicTo(cx + rx, mid + (chin - mid) * 0.55, cx + rx * g.jaw * 0.72, chin, cx, chin);
    path.cubicTo(cx - rx * g.jaw * 0.72, chin, cx - rx, mid + (chin - mid) * 0.55, cx - rx, mid);
    path.cubicTo(cx - rx, mid - (mid - top) * 0.58, cx - rx * 0.58, top, cx, top);
    path.closeSubpath();
    return path;
}

QPainterPath Ellipse(double cx, double cy, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath Rect(double x0, double y0, double x1, double y1) {
    QPainterPath path;
    path.addRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
    return path;
}

void Fill(QPainter& p, const QPainterPath& path, QColor colour) {
    p.fillPath(path, colour);
}

void Stroke(QPainter& p, const QPainterPath& path, QColor colour, double width) {
    p.strokePath(path, QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void DrawBody(QPainter& p, const tPerson& person, const tGeometry& g) {
    const double cx = g.cx, w = g.shoulders, y = g.shoulderY;
    const QColor skinShadow = Shade(person.m_Skin, 86);
    // Neck, in the shade of the chin.
    Fill(p, Rect(cx - 12, g.chin - 16, cx + 12, y + 4), skinShadow);

    QPainterPath body;
    body.moveTo(cx - w, 184);
    body.cubicTo(cx - w, y + 12, cx - w + 16, y, cx - 24, y - 3);
    body.lineTo(cx + 24, y - 3);
    body.cubicTo(cx + w - 16, y, cx + w, y + 12, cx + w, 184);
    body.closeSubpath();
    const QColor clothes = person.m_Clothes, dark = Shade(clothes, 78);
    Fill(p, body, clothes);
    // A fold on each side gives the shoulders some form.
    QPainterPath fold;
    fold.moveTo(cx - w + 20, 184);
    fold.quadTo(cx - w + 22, y + 22, cx - w + 30, y + 14);
    Stroke(p, fold, dark, 2);
    QPainterPath fold2;
    fold2.moveTo(cx + w - 20, 184);
    fold2.quadTo(cx + w - 22, y + 22, cx + w - 30, y + 14);
    Stroke(p, fold2, dark, 2);

    switch (person.m_Neck) {
    case tNeck::Round:
        Fill(p, Ellipse(cx, y - 2, 17, 9), dark);
        Fill(p, Ellipse(cx, y - 4, 14, 8), skinShadow);
        break;
    case tNeck::VNeck: {
        QPainterPath v;
        v.moveTo(cx - 19, y - 4);
        v.lineTo(cx, y + 22);
        v.lineTo(cx + 19, y - 4);
        v.closeSubpath();
        Fill(p, v, dark);
        QPainterPath inner;
        inner.moveTo(cx - 15, y - 4);
        inner.lineTo(cx, y + 17);
        inner.lineTo(cx + 15, y - 4);
        inner.closeSubpath();
        Fill(p, inner, skinShadow);
        break;
    }
    case tNeck::ShirtTie:
    case tNeck::Collar: {
        // An open jacket over a white shirt.
        QPainterPath shirt;
        shirt.moveTo(cx - 22, y - 4);
        shirt.lineTo(cx, y + 40);
        shirt.lineTo(cx + 22, y - 4);
        shirt.closeSubpath();
        Fill(p, shirt, QColor(246, 246, 246));
        if (person.m_Neck == tNeck::ShirtTie) {
            QPainterPath tie;
            tie.moveTo(cx - 4, y + 2);
            tie.lineTo(cx + 4, y + 2);
            tie.lineTo(cx + 7, y + 34);
            tie.lineTo(cx, y + 41);
            tie.lineTo(cx - 7, y + 34);
            tie.closeSubpath();
            Fill(p, tie, person.m_Accent);
            Fill(p, Rect(cx - 5, y - 3, cx + 5, y + 4), Shade(person.m_Accent, 80));
        }
        for (int side : {-1, 1}) {
            QPainterPath collar;
            collar.moveTo(cx + side * 2, y + 6);
            collar.lineTo(cx + side * 15, y - 7);
            collar.lineTo(cx + side * 20, y + 8);
            collar.closeSubpath();
            Fill(p, collar, QColor(226, 226, 230));
            QPainterPath lapel;
            lapel.moveTo(cx + side * 22, y - 4);
            lapel.lineTo(cx + side * 6, y + 40);
            lapel.lineTo(cx + side * 34, y + 12);
            lapel.closeSubpath();
            Fill(p, lapel, dark);
        }
        break;
    }
    case tNeck::Turtle:
        Fill(p, Rect(cx - 14, y - 14, cx + 14, y + 2), dark);
        Fill(p, Rect(cx - 14, y - 14, cx + 14, y - 10), Shade(clothes, 70));
        break;
    case tNeck::Cardigan: {
        QPainterPath inner;
        inner.moveTo(cx - 20, y - 4);
        inner.lineTo(cx - 8, 184);
        inner.lineTo(cx + 8, 184);
        inner.lineTo(cx + 20, y - 4);
        inner.closeSubpath();
        Fill(p, inner, person.m_Accent);
        Fill(p, Ellipse(cx, y - 3, 13, 7), skinShadow);
        for (int i = 0; i < 3; ++i)
            Fill(p, Ellipse(cx + 10, y + 12 + i * 10, 1.8, 1.8), Shade(clothes, 55));
        break;
    }
    case tNeck::Hoodie: {
        Fill(p, Ellipse(cx, y - 1, 24, 11), dark);
        Fill(p, Ellipse(cx, y - 4, 14, 8), skinShadow);
        for (int side : {-1, 1}) {
            QPainterPath string;
            string.moveTo(cx + side * 7, y + 5);
            string.lineTo(cx + side * 8, y + 24);
            Stroke(p, string, QColor(240, 240, 240), 2);
        }
        break;
    }
    case tNeck::Straps: {
        Fill(p, Ellipse(cx, y + 4, 30, 12), skinShadow);
        Fill(p, Rect(cx - 30, y + 4, cx + 30, y + 12), skinShadow);
        for (int side : {-1, 1})
            Fill(p, Rect(cx + side * 22 - 4, y - 4, cx + side * 22 + 4, y + 14), clothes);
        break;
    }
    }
    if (person.m_Female && person.m_Accent.isValid() &&
        (person.m_Neck == tNeck::Round || person.m_Neck == tNeck::VNeck ||
         person.m_Neck == tNeck::Straps)) {
        // A necklace of small beads.
        for (int i = -5; i <= 5; ++i) {
            const double t = i / 5.0;
            Fill(p, Ellipse(cx + t * 16, y + 6 + (1 - t * t) * 8, 1.6, 1.6), person.m_Accent);
        }
    }
}

// Hair behind the head: long hair, bobs, afros, buns and tails.
void DrawBackHair(QPainter& p, const tPerson& person, const tGeometry& g) {
    const double cx = g.cx;
    const QColor hair = person.m_Hair;
    switch (person.m_Style) {
    case tHair::Long:
    case tHair::Wavy: {
        QPainterPath back;
        back.addRoundedRect(QRectF(cx - g.rx - 10, g.top - 6, 2 * g.rx + 20, 118), 30, 30);
        Fill(p, back, Shade(hair, 88));
        if (person.m_Style == tHair::Wavy)
            for (int side : {-1, 1})
                for (int i = 0; i < 4; ++i)
                    Fill(p, Ellipse(cx + side * (g.rx + 8), g.cy + 10 + i * 16, 8, 9),
                         Shade(hair, 88));
        break;
    }
    case tHair::Bob: {
        QPainterPath back;
        back.addRoundedRect(QRectF(cx - g.rx - 9, g.top - 6, 2 * g.rx + 18, g.chin - g.top + 2), 26,
                            26);
        Fill(p, back, Shade(hair, 90));
        break;
    }
    case tHair::Afro:
        Fill(p, Ellipse(cx, g.cy - 14, g.rx + 24, g.cy - g.top + 16), hair);
        break;
    case tHair::Bun:
        Fill(p, Ellipse(cx, g.top - 6, 15, 13), hair);
        break;
    case tHair::Ponytail: {
        p.save();
        p.translate(cx + g.rx + 6, g.cy + 14);
        p.rotate(-18);
        Fill(p, Ellipse(0, 0, 11, 30), Shade(hair, 90));
        p.restore();
        break;
    }
    case tHair::Braids:
        for (int side : {-1, 1})
            for (int i = 0; i < 6; ++i)
                Fill(p, Ellipse(cx + side * (g.rx + 2), g.cy + i * 11, 7, 7), Shade(hair, 88));
        break;
    default:
        break;
    }
}

// The region above a hairline that runs from the right temple (at side, its height) to the
// left one: what the hair covers of the head.
template <class Hairline>
QPainterPath AboveHairline(double side, Hairline hairline) {
    QPainterPath region;
    region.moveTo(0, 0);
    region.lineTo(180, 0);
    region.lineTo(180, side);
    hairline(region);
    region.lineTo(0, side);
    region.closeSubpath();
    return region;
}

// The hair on top of the head: the head shape, a little larger, above a hairline.
void DrawFrontHair(QPainter& p, const tPerson& person, const tGeometry& g) {
    const double cx = g.cx, top = g.top;
    const QColor hair = person.m_Hair, light = Mix(hair, QColor(255, 255, 255), 22);
    const QPainterPath volume = HeadPath(g, person.m_Style == tHair::Buzz ? 1.5 : 5);
    QPainterPath above;
    switch (person.m_Style) {
    case tHair::Bald: {
        // Only a rim of hair above the ears.
        for (int side : {-1, 1}) {
            QPainterPath rim;
            rim.moveTo(cx + side * (g.rx + 2), g.cy + 6);
            rim.quadTo(cx + side * (g.rx + 5), g.cy - 20, cx + side * (g.rx - 10), g.cy - 34);
            rim.quadTo(cx + side * (g.rx - 2), g.cy - 16, cx + side * (g.rx - 4), g.cy + 4);
            rim.closeSubpath();
            Fill(p, rim, hair);
        }
        return;
    }
    case tHair::Curly:
    case tHair::Afro: {
        const int count = person.m_Style == tHair::Afro ? 13 : 11;
        for (int i = 0; i < count; ++i) {
            const double angle = M_PI * (0.95 + 1.1 * i / (count - 1));
            const double r = person.m_Style == tHair::Afro ? g.rx + 8 : g.rx + 1;
            Fill(p,
                 Ellipse(cx + std::cos(angle) * r, g.cy - 6 + std::sin(angle) * (g.cy - top + 4),
                         10, 10),
                 i % 2 ? hair : Shade(hair, 92));
        }
        above = Rect(0, 0, 180, top + 16);
        Fill(p, volume.intersected(above), hair);
        for (int i = 0; i < 5; ++i)
            Fill(p, Ellipse(cx - 22 + i * 11, top + 15, 7, 6), hair);
        return;
    }
    case tHair::Spiky: {
        QPainterPath spikes;
        spikes.moveTo(cx - g.rx - 3, g.cy - 10);
        const int n = 7;
        for (int i = 0; i <= n; ++i) {
            const double x = cx - g.rx - 3 + (2 * g.rx + 6) * i / n;
            const double lift = (i == 0 || i == n) ? 0 : 9;
            spikes.lineTo(x - (2 * g.rx + 6) / n / 2, top + 4 - lift * (i % 2 ? 1 : 0.4));
            spikes.lineTo(x, top + 10);
        }
        spikes.lineTo(cx + g.rx + 3, g.cy - 10);
        spikes.lineTo(cx + g.rx - 6, top + 22);
        spikes.lineTo(cx - g.rx + 6, top + 22);
        spikes.closeSubpath();
        Fill(p, spikes, hair);
        return;
    }
    case tHair::Short:
    case tHair::Buzz: {
        above = AboveHairline(g.cy - 8, [&](QPainterPath& line) {
            line.lineTo(cx + g.rx - 3, g.cy - 8);
            line.cubicTo(cx + g.rx - 6, top + 14, cx + 8, top + 22, cx - 6, top + 18);
            line.cubicTo(cx - 18, top + 16, cx - g.rx + 4, top + 18, cx - g.rx + 3, g.cy - 8);
        });
        break;
    }
    case tHair::SidePart:
    case tHair::Pixie: {
        above = AboveHairline(g.cy - 4, [&](QPainterPath& line) {
            line.lineTo(cx + g.rx - 2, g.cy - 4);
            line.cubicTo(cx + g.rx - 8, top + 24, cx + 14, top + 30, cx - 12, top + 14);
            line.cubicTo(cx - 18, top + 20, cx - g.rx + 2, top + 30, cx - g.rx + 2, g.cy - 4);
        });
        break;
    }
    case tHair::Long:
    case tHair::Wavy:
    case tHair::Bob:
    case tHair::Ponytail:
    case tHair::Bun:
    case tHair::Braids: {
        // Parted in the middle, framing the face.
        above = AboveHairline(g.cy + 20, [&](QPainterPath& line) {
            line.lineTo(cx + g.rx - 1, g.cy + 20);
            line.cubicTo(cx + g.rx - 5, top + 30, cx + 10, top + 18, cx + 1, top + 12);
            line.lineTo(cx - 1, top + 12);
            line.cubicTo(cx - 10, top + 18, cx - g.rx + 5, top + 30, cx - g.rx + 1, g.cy + 20);
        });
        if (person.m_Style == tHair::Bun || person.m_Style == tHair::Ponytail) {
            // Pulled back: the sides stay above the ears.
            above = above.intersected(Rect(0, 0, 180, g.cy - 6));
        }
        break;
    }
    }
    Fill(p, volume.intersected(above), hair);
    // A soft highlight on the crown.
    QPainterPath shine;
    shine.moveTo(cx - 16, top + 5);
    shine.quadTo(cx - 4, top - 1, cx + 10, top + 3);
    Stroke(p, shine.intersected(volume), light, 3);
}

void DrawFace(QPainter& p, const tPerson& person, const tGeometry& g) {
    const double cx = g.cx, ey = g.eyeY;
    const QColor skin = person.m_Skin, shadow = Shade(skin, 84), line = Shade(skin, 62);
    const bool dark = skin.lightness() < 120;
    const QColor brow = person.m_Style == tHair::Bald && person.m_Age == tAge::Senior
                            ? Shade(person.m_Hair, 80)
                            : Shade(person.m_Hair, 72);

    // Ears, then the head over them.
    for (int side : {-1, 1}) {
        Fill(p, Ellipse(cx + side * g.rx, ey + 4, 6.5, 10), skin);
        Fill(p, Ellipse(cx + side * (g.rx + 1.5), ey + 4, 3, 6), shadow);
    }
    Fill(p, HeadPath(g), skin);
    // A crescent of shade along the far side of the face, for depth.
    const QPainterPath head = HeadPath(g);
    Fill(p, head.subtracted(head.translated(-5, -2)), Mix(skin, shadow, 60));

    // Cheeks.
    const QColor blush = Mix(skin, QColor(236, 120, 120), dark ? 18 : 28);
    for (int sign : {-1, 1})
        Fill(p, Ellipse(cx + sign * (g.eyeDx + 6), ey + 17, 7, 4.5), blush);
    if (person.m_Freckles)
        for (int sign : {-1, 1})
            for (int i = 0; i < 5; ++i)
                Fill(p,
                     Ellipse(cx + sign * (g.eyeDx + 1 + (i % 3) * 4),
                             ey + 11 + (i / 3) * 4 + (i % 2), 0.9, 0.9),
                     Shade(skin, 72));

    // Eyes.
    for (int sign : {-1, 1}) {
        const double ex = cx + sign * g.eyeDx;
        Fill(p, Ellipse(ex, ey, g.eyeR + 1.2, g.eyeR * 0.82), QColor(252, 252, 252));
        Fill(p, Ellipse(ex + 0.4, ey + 0.3, g.eyeR * 0.66, g.eyeR * 0.66), person.m_Eyes);
        Fill(p, Ellipse(ex + 0.4, ey + 0.3, g.eyeR * 0.32, g.eyeR * 0.32), QColor(20, 16, 16));
        Fill(p, Ellipse(ex + 1.8, ey - 1.4, 1.1, 1.1), QColor(255, 255, 255));
        // Upper lid line.
        QPainterPath lid;
        lid.moveTo(ex - g.eyeR - 1.5, ey + 0.5);
        lid.quadTo(ex, ey - g.eyeR * 1.25, ex + g.eyeR + 1.5, ey + 0.5);
        Stroke(p, lid, QColor(40, 30, 30), person.m_Female ? 1.6 : 1.1);
        if (person.m_Female) {
            QPainterPath lash;
            lash.moveTo(ex + sign * (g.eyeR + 1), ey - 1);
            lash.lineTo(ex + sign * (g.eyeR + 3.5), ey - 3.5);
            Stroke(p, lash, QColor(40, 30, 30), 1.2);
        }
        if (person.m_Age == tAge::Senior) {
            QPainterPath bag;
            bag.moveTo(ex - 4, ey + g.eyeR + 2);
            bag.quadTo(ex, ey + g.eyeR + 4, ex + 4, ey + g.eyeR + 2);
            Stroke(p, bag, line, 1);
            QPainterPath crow;
            crow.moveTo(ex + sign * (g.eyeR + 4), ey + 1);
            crow.lineTo(ex + sign * (g.eyeR + 8), ey + 3);
            Stroke(p, crow, line, 1);
        }
        // Brows.
        QPainterPath browPath;
        const double by = ey - g.eyeR - 6;
        browPath.moveTo(ex - sign * 6, by + 1.5);
        browPath.quadTo(ex + sign * 1, by - 2.5, ex + sign * 8, by + 1);
        Stroke(p, browPath, brow, person.m_Female ? 2.2 : 3.2);
    }

    // Nose.
    QPainterPath nose;
    nose.moveTo(cx - 1, ey + 6);
    nose.quadTo(cx + 4, ey + 15, cx + 1, ey + 17);
    nose.quadTo(cx - 2, ey + 18, cx - 4, ey + 16.5);
    Stroke(p, nose, line, 1.6);

    // Mouth: a smile, open for some.
    const double my = ey + 26;
    QPainterPath mouth;
    if (person.m_OpenSmile) {
        mouth.moveTo(cx - 10, my - 1);
        mouth.quadTo(cx, my + 1, cx + 10, my - 1);
        mouth.quadTo(cx, my + 13, cx - 10, my - 1);
        Fill(p, mouth, QColor(120, 40, 40));
        QPainterPath teeth;
        teeth.moveTo(cx - 8, my);
        teeth.quadTo(cx, my + 1.5, cx + 8, my);
        teeth.quadTo(cx, my + 5, cx - 8, my);
        Fill(p, teeth, QColor(252, 252, 252));
    } else {
        mouth.moveTo(cx - 9, my);
        mouth.quadTo(cx, my + 8, cx + 9, my);
        mouth.quadTo(cx, my + 4, cx - 9, my);
        Fill(p, mouth,
             person.m_Lipstick ? QColor(196, 48, 72)
                               : Shade(Mix(skin, QColor(160, 50, 50), 45), 90));
        if (person.m_Lipstick) {
            QPainterPath upper;
            upper.moveTo(cx - 8.5, my + 0.3);
            upper.quadTo(cx - 4, my - 3, cx, my - 1);
            upper.quadTo(cx + 4, my - 3, cx + 8.5, my + 0.3);
            upper.quadTo(cx, my + 2, cx - 8.5, my + 0.3);
            Fill(p, upper, QColor(176, 40, 62));
        }
    }
    for (int sign : {-1, 1}) {
        QPainterPath dimple;
        dimple.moveTo(cx + sign * 10, my - 2);
        dimple.quadTo(cx + sign * 11.5, my, cx + sign * 10.5, my + 1.5);
        Stroke(p, dimple, line, 1);
    }

    if (person.m_Age == tAge::Senior) {
        for (int i = 0; i < 2; ++i) {
            QPainterPath wrinkle;
            wrinkle.moveTo(cx - 12, g.top + 15 + i * 5);
            wrinkle.quadTo(cx, g.top + 12 + i * 5, cx + 12, g.top + 15 + i * 5);
            Stroke(p, wrinkle, Mix(skin, line, 55), 1);
        }
        for (int sign : {-1, 1}) {
            QPainterPath fold;
            fold.moveTo(cx + sign * 8, ey + 15);
            fold.quadTo(cx + sign * 14, ey + 22, cx + sign * 13, ey + 29);
            Stroke(p, fold, Mix(skin, line, 60), 1.1);
        }
    }
}

void DrawFacialHair(QPainter& p, const tPerson& person, const tGeometry& g) {
    const double cx = g.cx, my = g.eyeY + 26;
    const QColor hair = person.m_Hair;
    switch (person.m_Face) {
    case tFace::None:
        return;
    case tFace::Beard:
    case tFace::Stubble: {
        // Everything of the lower face outside a line that runs from the sideburns over the
        // cheeks to just under the nose.
        const double ey = g.eyeY, top = ey - 6;
        QPainterPath below;
        below.moveTo(0, top);
        below.lineTo(cx - g.rx + 5, top);
        below.cubicTo(cx - g.rx + 7, ey + 16, cx - 16, ey + 14, cx - 11, ey + 21);
        below.quadTo(cx, ey + 16.5, cx + 11, ey + 21);
        below.cubicTo(cx + 16, ey + 14, cx + g.rx - 7, ey + 16, cx + g.rx - 5, top);
        below.lineTo(180, top);
        below.lineTo(180, 180);
        below.lineTo(0, 180);
        below.closeSubpath();
        QPainterPath opening;
        opening.addEllipse(QPointF(cx, my + 1.5), 8.5, 4.5);
        const QColor colour = person.m_Face == tFace::Stubble ? Mix(person.m_Skin, hair, 35) : hair;
        Fill(p, HeadPath(g, 2.5).intersected(below).subtracted(opening), colour);
        QPainterPath lips;
        lips.moveTo(cx - 7, my + 1);
        lips.quadTo(cx, my + 6, cx + 7, my + 1);
        lips.quadTo(cx, my + 3, cx - 7, my + 1);
        Fill(p, lips, Shade(Mix(person.m_Skin, QColor(160, 50, 50), 45), 90));
        break;
    }
    case tFace::Goatee: {
        QPainterPath goatee;
        goatee.moveTo(cx - 8, my + 7);
        goatee.quadTo(cx, my + 5, cx + 8, my + 7);
        goatee.quadTo(cx + 6, g.chin + 3, cx, g.chin + 3);
        goatee.quadTo(cx - 6, g.chin + 3, cx - 8, my + 7);
        Fill(p, goatee, hair);
        [[fallthrough]];
    }
    case tFace::Moustache: {
        QPainterPath moustache;
        moustache.moveTo(cx - 13, my + 1);
        moustache.quadTo(cx - 8, my - 7, cx, my - 4);
        moustache.quadTo(cx + 8, my - 7, cx + 13, my + 1);
        moustache.quadTo(cx + 6, my - 2, cx, my - 1);
        moustache.quadTo(cx - 6, my - 2, cx - 13, my + 1);
        Fill(p, moustache, hair);
        break;
    }
    }
}

void DrawGlasses(QPainter& p, const tPerson& person, const tGeometry& g) {
    if (!person.m_Glasses)
        return;
    const QColor frame = person.m_Age == tAge::Senior ? QColor(120, 86, 50) : QColor(36, 36, 44);
    for (int sign : {-1, 1}) {
        QPainterPath lens;
        lens.addRoundedRect(QRectF(g.cx + sign * g.eyeDx - 10, g.eyeY - 7.5, 20, 15), 6, 6);
        Stroke(p, lens, frame, 2.2);
        QPainterPath arm;
        arm.moveTo(g.cx + sign * (g.eyeDx + 10), g.eyeY - 2);
        arm.lineTo(g.cx + sign * (g.rx + 1), g.eyeY - 3);
        Stroke(p, arm, frame, 2);
    }
    QPainterPath bridge;
    bridge.moveTo(g.cx - g.eyeDx + 10, g.eyeY - 2);
    bridge.quadTo(g.cx, g.eyeY - 5, g.cx + g.eyeDx - 10, g.eyeY - 2);
    Stroke(p, bridge, frame, 2);
}

void DrawEarrings(QPainter& p, const tPerson& person, const tGeometry& g) {
    if (!person.m_Earrings)
        return;
    for (int sign : {-1, 1}) {
        const QColor metal = person.m_Accent.isValid() ? person.m_Accent : QColor(232, 190, 60);
        Fill(p, Ellipse(g.cx + sign * (g.rx + 0.5), g.eyeY + 16, 2.8, 2.8), metal);
        Fill(p, Ellipse(g.cx + sign * (g.rx + 0.5) - 0.8, g.eyeY + 15.2, 0.9, 0.9),
             QColor(255, 255, 230));
    }
}

QImage DrawPerson(const tPerson& person) {
    return RenderSmooth(180, 180, kWindowBlue, [&](QPainter& p) {
        const tGeometry g = GeometryFor(person);
        QPainterPath disc;
        disc.addEllipse(QPointF(90, 90), 86, 86);
        Fill(p, disc, person.m_Disc);
        p.setClipPath(disc);
        DrawBackHair(p, person, g);
        DrawBody(p, person, g);
        DrawFace(p, person, g);
        DrawFacialHair(p, person, g);
        DrawFrontHair(p, person, g);
        DrawGlasses(p, person, g);
        DrawEarrings(p, person, g);
        p.setClipping(false);
    });
}

template <size_t N>
std::vector<QImage> DrawPeople(const tPerson (&people)[N]) {
    std::vector<QImage> pictures;
    for (const tPerson& person : people)
        pictures.push_back(DrawPerson(person));
    return pictures;
}

} // namespace

std::vector<QImage> DrawMen() {
    // clang-format off
    const tPerson men[] = {
        {false, tAge::Adult,  kSkin[1], kDarkBrown, tHair::Short,    kEyeBrown, false, tFace::None,      QColor(70, 110, 170),  tNeck::Round,    {}, kSky},
        {false, tAge::Adult,  kSkin[2], kBlack,     tHair::SidePart, kEyeDark,  true,  tFace::None,      QColor(60, 64, 80),    tNeck::ShirtTie, QColor(190, 40, 50), kLemon},
        {false, tAge::Child,  kSkin[0], kBlonde,    tHair::Spiky,    kEyeBlue,  false, tFace::None,      QColor(230, 90, 60),   tNeck::Round,    {}, kMint, true, false, false, true},
        {false, tAge::Senior, kSkin[1], kWhite,     tHair::Bald,     kEyeBlue,  true,  tFace::Moustache, QColor(120, 140, 110), tNeck::Cardigan, QColor(236, 232, 220), kPeach},
        {false, tAge::Adult,  kSkin[4], kBlack,     tHair::Buzz,     kEyeDark,  false, tFace::Beard,     QColor(220, 170, 60),  tNeck::VNeck,    {}, kLavender},
        {false, tAge::Teen,   kSkin[3], kBlack,     tHair::Curly,    kEyeBrown, false, tFace::None,      QColor(60, 150, 120),  tNeck::Hoodie,   {}, kSand, false, false, false, true},
        {false, tAge::Adult,  kSkin[0], kRed,       tHair::SidePart, kEyeGreen, false, tFace::Goatee,    QColor(110, 70, 130),  tNeck::Turtle,   {}, kSage},
        {false, tAge::Senior, kSkin[3], kGrey,      tHair::Short,    kEyeBrown, false, tFace::Beard,     QColor(160, 80, 60),   tNeck::Collar,   {}, kSky},
        {false, tAge::Child,  kSkin[5], kBlack,     tHair::Afro,     kEyeDark,  false, tFace::None,      QColor(250, 200, 60),  tNeck::Round,    {}, kRose, false, false, false, true},
        {false, tAge::Adult,  kSkin[2], kBrown,     tHair::Short,    kEyeHazel, true,  tFace::Stubble,   QColor(90, 130, 90),   tNeck::Round,    {}, kLemon},
        {false, tAge::Teen,   kSkin[1], kAuburn,    tHair::SidePart, kEyeBlue,  false, tFace::None,      QColor(200, 60, 70),   tNeck::VNeck,    {}, kMint, true},
        {false, tAge::Adult,  kSkin[5], kBlack,     tHair::Bald,     kEyeDark,  false, tFace::Goatee,    QColor(50, 90, 160),   tNeck::ShirtTie, QColor(240, 180, 40), kPeach, false, false, false, true},
        {false, tAge::Senior, kSkin[0], kSalt,      tHair::SidePart, kEyeBlue,  true,  tFace::None,      QColor(80, 80, 100),   tNeck::ShirtTie, QColor(60, 110, 70), kSage},
        {false, tAge::Adult,  kSkin[3], kDarkBrown, tHair::Curly,    kEyeBrown, false, tFace::Moustache, QColor(240, 240, 236), tNeck::Collar,   {}, kLavender},
        {false, tAge::Child,  kSkin[2], kDarkBrown, tHair::Short,    kEyeBrown, true,  tFace::None,      QColor(80, 170, 220),  tNeck::Hoodie,   {}, kLemon, true},
        {false, tAge::Adult,  kSkin[1], kBlonde,    tHair::Short,    kEyeBlue,  false, tFace::Beard,     QColor(180, 60, 50),   tNeck::Round,    {}, kSky, false, false, false, true},
        {false, tAge::Senior, kSkin[4], kWhite,     tHair::Curly,    kEyeDark,  true,  tFace::Beard,     QColor(150, 120, 80),  tNeck::Cardigan, QColor(240, 236, 226), kMint},
        {false, tAge::Teen,   kSkin[4], kDarkBrown, tHair::Spiky,    kEyeDark,  false, tFace::None,      QColor(40, 40, 48),    tNeck::Round,    {}, kPeach},
    };
    // clang-format on
    return DrawPeople(men);
}

std::vector<QImage> DrawWomen() {
    // clang-format off
    const tPerson women[] = {
        {true, tAge::Adult,  kSkin[1], kBrown,     tHair::Long,     kEyeGreen, false, tFace::None, QColor(200, 70, 90),   tNeck::VNeck,    QColor(250, 214, 90), kLemon, false, true},
        {true, tAge::Adult,  kSkin[2], kBlack,     tHair::Bob,      kEyeDark,  true,  tFace::None, QColor(60, 120, 150),  tNeck::Round,    QColor(240, 240, 240), kRose},
        {true, tAge::Child,  kSkin[0], kRed,       tHair::Braids,   kEyeBlue,  false, tFace::None, QColor(120, 190, 90),  tNeck::Round,    {}, kSky, true, false, false, true},
        {true, tAge::Senior, kSkin[1], kWhite,     tHair::Bun,      kEyeBlue,  true,  tFace::None, QColor(150, 110, 160), tNeck::Cardigan, QColor(248, 240, 230), kMint, false, true},
        {true, tAge::Adult,  kSkin[4], kBlack,     tHair::Afro,     kEyeDark,  false, tFace::None, QColor(240, 150, 40),  tNeck::Straps,   QColor(240, 200, 80), kLavender, false, true, true},
        {true, tAge::Teen,   kSkin[2], kDarkBrown, tHair::Ponytail, kEyeBrown, false, tFace::None, QColor(90, 100, 200),  tNeck::Hoodie,   {}, kPeach, false, false, false, true},
        {true, tAge::Adult,  kSkin[0], kBlonde,    tHair::Wavy,     kEyeBlue,  false, tFace::None, QColor(70, 70, 90),    tNeck::Collar,   {}, kSage, false, true, true},
        {true, tAge::Senior, kSkin[3], kGrey,      tHair::Bob,      kEyeBrown, false, tFace::None, QColor(200, 100, 80),  tNeck::Round,    QColor(236, 236, 220), kLemon, false, true},
        {true, tAge::Child,  kSkin[5], kBlack,     tHair::Bun,      kEyeDark,  false, tFace::None, QColor(240, 110, 150), tNeck::Round,    {}, kMint, false, false, false, true},
        {true, tAge::Adult,  kSkin[3], kDarkBrown, tHair::Long,     kEyeBrown, true,  tFace::None, QColor(40, 140, 130),  tNeck::Turtle,   {}, kSand, false, true},
        {true, tAge::Teen,   kSkin[1], kAuburn,    tHair::Wavy,     kEyeGreen, false, tFace::None, QColor(250, 190, 70),  tNeck::Straps,   {}, kLavender, true},
        {true, tAge::Adult,  kSkin[5], kBlack,     tHair::Braids,   kEyeDark,  false, tFace::None, QColor(130, 60, 140),  tNeck::VNeck,    QColor(250, 220, 110), kPeach, false, true, true, true},
        {true, tAge::Senior, kSkin[0], kSalt,      tHair::Pixie,    kEyeBlue,  true,  tFace::None, QColor(90, 140, 200),  tNeck::Collar,   {}, kRose},
        {true, tAge::Adult,  kSkin[2], kAuburn,    tHair::Ponytail, kEyeHazel, false, tFace::None, QColor(230, 230, 236), tNeck::Round,    QColor(200, 60, 90), kSky, false, true, true},
        {true, tAge::Child,  kSkin[2], kBrown,     tHair::Bob,      kEyeHazel, false, tFace::None, QColor(250, 220, 80),  tNeck::Round,    {}, kLavender, true, false, false, true},
        {true, tAge::Adult,  kSkin[1], kBlack,     tHair::Pixie,    kEyeBrown, false, tFace::None, QColor(190, 50, 60),   tNeck::Straps,   QColor(236, 236, 236), kMint, false, true, true},
        {true, tAge::Senior, kSkin[4], kWhite,     tHair::Curly,    kEyeDark,  false, tFace::None, QColor(60, 120, 90),   tNeck::Cardigan, QColor(248, 232, 200), kSand, false, true},
        {true, tAge::Teen,   kSkin[4], kDarkBrown, tHair::Long,     kEyeDark,  false, tFace::None, QColor(230, 100, 80),  tNeck::Round,    {}, kSage, false, false, false, true},
    };
    // clang-format on
    return DrawPeople(women);
}
