#include "project/ProjectIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace varn::ProjectIcons {

namespace {

struct Look {
    QColor band;
    QChar letter;
};

Look lookOf(ItemKind kind) {
    switch (kind) {
    case ItemKind::Project: return {QColor(0x3a, 0x6e, 0xa5), QLatin1Char('P')};
    case ItemKind::Application: return {QColor(0x2e, 0x8b, 0x57), QLatin1Char('A')};
    case ItemKind::Include: return {QColor(0x5f, 0x9e, 0xa0), QLatin1Char('i')};
    case ItemKind::LargeIcon: return {QColor(0xd2, 0x69, 0x1e), QLatin1Char('L')};
    case ItemKind::SmallIcon: return {QColor(0xd2, 0x69, 0x1e), QLatin1Char('S')};
    case ItemKind::Form: return {QColor(0x6a, 0x5a, 0xcd), QLatin1Char('F')};
    case ItemKind::Image: return {QColor(0xcd, 0x85, 0x3f), QLatin1Char('B')};
    case ItemKind::CFile: return {QColor(0x70, 0x80, 0x90), QLatin1Char('C')};
    case ItemKind::Header: return {QColor(0x70, 0x80, 0x90), QLatin1Char('H')};
    case ItemKind::MenuBar: return {QColor(0x8b, 0x45, 0x13), QLatin1Char('M')};
    }
    return {Qt::gray, QLatin1Char('?')};
}

// A sheet with a folded corner, a coloured band with the kind's letter and,
// for a read-only file, a small padlock in the lower right corner.
QPixmap draw(int size, ItemKind kind, bool readOnly) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal fold = s * 0.28;
    QPainterPath sheet;
    sheet.moveTo(s * 0.12, s * 0.04);
    sheet.lineTo(s * 0.88 - fold, s * 0.04);
    sheet.lineTo(s * 0.88, s * 0.04 + fold);
    sheet.lineTo(s * 0.88, s * 0.96);
    sheet.lineTo(s * 0.12, s * 0.96);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), std::max(1.0, s / 16)));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    const Look look = lookOf(kind);
    QRectF band(s * 0.12, s * 0.42, s * 0.76, s * 0.4);
    p.fillRect(band, look.band);
    QFont f = QApplication::font();
    f.setBold(true);
    f.setPixelSize(std::max(6, static_cast<int>(s * 0.36)));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(band, Qt::AlignCenter, QString(look.letter));
    if (readOnly) {
        const qreal w = s * 0.42;
        QRectF body(s - w, s - w * 0.8, w, w * 0.8);
        QRectF shackle(s - w * 0.8, s - w * 1.25, w * 0.6, w * 0.8);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x80, 0x10, 0x10), std::max(1.0, s / 12)));
        p.drawArc(shackle, 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc0, 0x20, 0x20));
        p.drawRoundedRect(body, s / 16, s / 16);
    }
    return pm;
}

}  // namespace

QIcon item(ItemKind kind, bool readOnly) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(draw(size, kind, readOnly));
    return icon;
}

QIcon category() { return QApplication::style()->standardIcon(QStyle::SP_DirIcon); }

}  // namespace varn::ProjectIcons
