#include "screens/kit/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kv {

namespace {

const QColor kInk(0x2b, 0x3a, 0x55);
const QColor kPaper(0xfd, 0xfd, 0xf8);
const QColor kAccent(0x1f, 0x7a, 0x8c);
const QColor kGold(0xe0, 0xa4, 0x23);

QPixmap canvas(int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void badge(QPainter& p, const QRectF& r, const QColor& color, const QString& text) {
    p.setPen(QPen(color.darker(140), 1.2));
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, color.lighter(130));
    fill.setColorAt(1, color);
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(r.height() * (text.size() > 3 ? 0.38 : 0.5)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

// A sheet of paper with a folded corner, the base of several pictures.
void sheet(QPainter& p, const QRectF& r) {
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void lines(QPainter& p, const QRectF& r, int count) {
    p.setPen(QPen(kInk.lighter(180), 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + r.height() * (i + 1) / (count + 1);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void person(QPainter& p, const QRectF& r, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal head = r.width() * 0.36;
    p.drawEllipse(QRectF(r.center().x() - head / 2, r.top(), head, head));
    p.drawChord(QRectF(r.left() + r.width() * 0.12, r.top() + head * 1.1, r.width() * 0.76, r.height() * 1.1),
                0, 180 * 16);
}

void house(QPainter& p, const QRectF& r) {
    QPainterPath roof;
    roof.moveTo(r.left(), r.top() + r.height() * 0.45);
    roof.lineTo(r.center().x(), r.top());
    roof.lineTo(r.right(), r.top() + r.height() * 0.45);
    roof.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0xc0, 0x4b, 0x3b));
    p.drawPath(roof);
    p.setBrush(kPaper);
    const QRectF walls(r.left() + r.width() * 0.15, r.top() + r.height() * 0.45, r.width() * 0.7,
                       r.height() * 0.55);
    p.drawRect(walls);
    p.setBrush(kAccent);
    p.drawRect(QRectF(walls.center().x() - walls.width() * 0.15, walls.top() + walls.height() * 0.35,
                      walls.width() * 0.3, walls.height() * 0.65));
}

void coin(QPainter& p, const QRectF& r, const QString& sign) {
    p.setPen(QPen(kGold.darker(150), 1.2));
    p.setBrush(kGold);
    p.drawEllipse(r);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(r.height() * 0.6));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, sign);
}

void globe(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kAccent.darker(130), 1.4));
    p.setBrush(kAccent.lighter(170));
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(r.width() * 0.28, 0, -r.width() * 0.28, 0));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void briefcase(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(r.center().x() - r.width() * 0.18, r.top(), r.width() * 0.36, r.height() * 0.3),
                      2, 2);
    p.setBrush(QColor(0x8a, 0x5a, 0x2b));
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.2, r.width(), r.height() * 0.8), 3, 3);
    p.setPen(QPen(kGold, 2));
    p.drawLine(QPointF(r.left(), r.top() + r.height() * 0.55),
               QPointF(r.right(), r.top() + r.height() * 0.55));
}

void percentDown(QPainter& p, const QRectF& r) {
    badge(p, r, QColor(0x3d, 0x8b, 0x3d), QStringLiteral("%"));
}

void chart(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(QColor(0xc0, 0x4b, 0x3b), 2));
    const QPointF points[] = {
        {r.left() + r.width() * 0.1, r.top() + r.height() * 0.3},
        {r.left() + r.width() * 0.4, r.top() + r.height() * 0.55},
        {r.left() + r.width() * 0.6, r.top() + r.height() * 0.45},
        {r.left() + r.width() * 0.9, r.top() + r.height() * 0.85},
    };
    p.drawPolyline(points, 4);
}

void heart(QPainter& p, const QRectF& r) {
    QPainterPath path;
    const qreal w = r.width();
    const qreal h = r.height();
    path.moveTo(r.left() + w / 2, r.top() + h * 0.95);
    path.cubicTo(r.left() - w * 0.2, r.top() + h * 0.45, r.left() + w * 0.2, r.top() - h * 0.15,
                 r.left() + w / 2, r.top() + h * 0.25);
    path.cubicTo(r.left() + w * 0.8, r.top() - h * 0.15, r.right() + w * 0.2, r.top() + h * 0.45,
                 r.left() + w / 2, r.top() + h * 0.95);
    p.setPen(QPen(QColor(0xa0, 0x20, 0x30), 1.2));
    p.setBrush(QColor(0xd9, 0x3a, 0x4a));
    p.drawPath(path);
}

void gear(QPainter& p, const QRectF& r) {
    p.save();
    p.translate(r.center());
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    const qreal radius = r.width() / 2;
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-radius * 0.14, -radius, radius * 0.28, radius * 0.4));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), radius * 0.72, radius * 0.72);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), radius * 0.3, radius * 0.3);
    p.restore();
}

void checkMark(QPainter& p, const QRectF& r, const QColor& color) {
    p.setPen(QPen(color, r.width() * 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF points[] = {
        {r.left() + r.width() * 0.1, r.top() + r.height() * 0.55},
        {r.left() + r.width() * 0.4, r.top() + r.height() * 0.85},
        {r.left() + r.width() * 0.92, r.top() + r.height() * 0.15},
    };
    p.drawPolyline(points, 3);
}

QIcon iconOf(int w, int h, const std::function<void(QPainter&, const QRectF&)>& draw) {
    QPixmap pixmap = canvas(w, h);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(0, 0, w, h));
    p.end();
    return QIcon(pixmap);
}

} // namespace

QIcon ratePicture(RatePicture picture) {
    struct Look {
        QString text;
        QColor color;
    };
    Look look;
    switch (picture) {
    case RatePicture::Rate13:
        look = {QStringLiteral("13%"), QColor(0x2e, 0x6d, 0xb4)};
        break;
    case RatePicture::Rate9:
        look = {QStringLiteral("9%"), QColor(0x3d, 0x8b, 0x3d)};
        break;
    case RatePicture::Rate35:
        look = {QStringLiteral("35%"), QColor(0xb4, 0x3e, 0x2e)};
        break;
    case RatePicture::Rate30:
        look = {QStringLiteral("30%"), QColor(0x8e, 0x44, 0xad)};
        break;
    case RatePicture::Rate15:
        look = {QStringLiteral("15%"), QColor(0xc0, 0x7a, 0x10)};
        break;
    case RatePicture::Dividends:
        look = {QStringLiteral("Див."), QColor(0xc0, 0x7a, 0x10)};
        break;
    case RatePicture::HighlyQualified:
        look = {QStringLiteral("ВКС"), QColor(0x1f, 0x7a, 0x8c)};
        break;
    }
    return iconOf(48, 32, [&](QPainter& p, const QRectF& r) { badge(p, r, look.color, look.text); });
}

QIcon deductionPicture(DeductionPicture picture) {
    return iconOf(48, 32, [picture](QPainter& p, const QRectF& full) {
        const QRectF r(full.center().x() - 15, 1, 30, 30);
        switch (picture) {
        case DeductionPicture::Property:
            house(p, r);
            break;
        case DeductionPicture::Social:
            heart(p, r.adjusted(2, 3, -2, -1));
            break;
        case DeductionPicture::Standard:
            person(p, r.adjusted(3, 1, -3, -1), kAccent);
            break;
        case DeductionPicture::Securities:
            chart(p, r.adjusted(1, 3, -1, -3));
            break;
        }
    });
}

QIcon sectionPicture(SectionPicture picture) {
    return iconOf(32, 32, [picture](QPainter& p, const QRectF& full) {
        const QRectF r = full.adjusted(2, 2, -2, -2);
        switch (picture) {
        case SectionPicture::Gear:
            gear(p, r);
            break;
        case SectionPicture::Person:
            person(p, r.adjusted(2, 0, -2, 0), kInk);
            break;
        case SectionPicture::Rouble:
            coin(p, r, QStringLiteral("₽"));
            break;
        case SectionPicture::Globe:
            globe(p, r);
            break;
        case SectionPicture::Briefcase:
            briefcase(p, r.adjusted(0, 3, 0, -3));
            break;
        case SectionPicture::PercentDown:
            percentDown(p, r);
            break;
        case SectionPicture::Sheet:
            sheet(p, r.adjusted(4, 0, -4, 0));
            break;
        case SectionPicture::Chart:
            chart(p, r.adjusted(0, 4, 0, -4));
            break;
        }
    });
}

QIcon toolPicture(ToolPicture picture) {
    return iconOf(24, 24, [picture](QPainter& p, const QRectF& r) {
        const QRectF page = r.adjusted(4, 1, -4, -1);
        switch (picture) {
        case ToolPicture::Create:
            sheet(p, page);
            p.setPen(QPen(QColor(0x3d, 0x8b, 0x3d), 2.4));
            p.drawLine(QPointF(12, 10), QPointF(12, 20));
            p.drawLine(QPointF(7, 15), QPointF(17, 15));
            break;
        case ToolPicture::Open: {
            p.setPen(QPen(QColor(0x8a, 0x6a, 0x1b), 1.2));
            p.setBrush(QColor(0xf0, 0xc8, 0x5a));
            p.drawRect(QRectF(1.5, 5.5, 21, 15));
            p.setBrush(QColor(0xf7, 0xdc, 0x8a));
            QPainterPath lid;
            lid.moveTo(4, 9.5);
            lid.lineTo(23, 9.5);
            lid.lineTo(20, 20.5);
            lid.lineTo(1.5, 20.5);
            lid.closeSubpath();
            p.drawPath(lid);
            break;
        }
        case ToolPicture::Save:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(0x2e, 0x6d, 0xb4));
            p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 2, 2);
            p.setBrush(kPaper);
            p.drawRect(QRectF(6, 3, 12, 7));
            p.setBrush(QColor(0xcf, 0xd8, 0xe3));
            p.drawRect(QRectF(6, 14, 12, 8));
            break;
        case ToolPicture::View:
            sheet(p, page.adjusted(0, 0, -3, -3));
            lines(p, page.adjusted(2, 4, -8, -8), 3);
            p.setPen(QPen(kInk, 2));
            p.setBrush(QColor(255, 255, 255, 160));
            p.drawEllipse(QRectF(10, 10, 9, 9));
            p.drawLine(QPointF(18, 18), QPointF(23, 23));
            break;
        case ToolPicture::Print:
            sheet(p, QRectF(6, 1, 12, 9));
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(0x9a, 0xa3, 0xb0));
            p.drawRoundedRect(QRectF(1.5, 9, 21, 9), 2, 2);
            p.setBrush(kPaper);
            p.drawRect(QRectF(6, 15, 12, 8));
            break;
        case ToolPicture::Export: {
            sheet(p, page);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setBold(true);
            font.setPixelSize(7);
            p.setFont(font);
            p.setPen(QColor(0xc0, 0x4b, 0x3b));
            p.drawText(page.adjusted(0, 8, 0, 0), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("XML"));
            break;
        }
        case ToolPicture::Check:
            sheet(p, page);
            lines(p, page.adjusted(2, 4, -6, -4), 4);
            checkMark(p, QRectF(9, 9, 14, 13), QColor(0x3d, 0x8b, 0x3d));
            break;
        case ToolPicture::Result:
            coin(p, r.adjusted(2, 2, -2, -2), QStringLiteral("₽"));
            break;
        }
    });
}

QPixmap emblemPicture(int side) {
    QPixmap pixmap = canvas(side, side);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, side, side);
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, kAccent.lighter(120));
    fill.setColorAt(1, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), side * 0.18, side * 0.18);
    const QRectF page(side * 0.24, side * 0.14, side * 0.52, side * 0.68);
    sheet(p, page);
    lines(p, page.adjusted(side * 0.06, side * 0.14, -side * 0.12, -side * 0.2), 4);
    checkMark(p, QRectF(side * 0.46, side * 0.5, side * 0.4, side * 0.34), kGold);
    p.end();
    return pixmap;
}

QPixmap splashPicture() {
    QPixmap pixmap(460, 104);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(0, 0, 460, 104);
    QLinearGradient fill(r.topLeft(), r.topRight());
    fill.setColorAt(0, kInk);
    fill.setColorAt(1, kAccent);
    p.fillRect(r, fill);
    p.setPen(QPen(kGold, 3));
    p.drawLine(QPointF(0, 101.5), QPointF(460, 101.5));
    p.drawPixmap(QPointF(14, 12), emblemPicture(80));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setBold(true);
    title.setPixelSize(34);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(110, 10, 340, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Квилмар 2019"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(14);
    p.setFont(subtitle);
    p.setPen(QColor(0xe6, 0xee, 0xf2));
    p.drawText(QRectF(112, 56, 340, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Декларации 3-НДФЛ и 4-НДФЛ за 2019 год"));
    p.setPen(kGold);
    p.drawText(QRectF(112, 76, 340, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Загрузка…"));
    p.end();
    return pixmap;
}

} // namespace kv
