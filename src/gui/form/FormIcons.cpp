#include "form/FormIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace varn {

namespace {

using C = DesignerCommand;

void bars(QPainter& p, const QRect& a, const QRect& b) {
    p.setBrush(QColor(96, 128, 192));
    p.drawRect(a);
    p.drawRect(b);
}

void dots(QPainter& p) {
    for (int y = 2; y < 16; y += 4)
        for (int x = 2; x < 16; x += 4) p.drawPoint(x, y);
}

void draw(QPainter& p, DesignerCommand command) {
    const QColor ink(32, 32, 32);
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
    switch (command) {
        case C::Deselect:
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(4, 1), QPoint(4, 13), QPoint(7, 10), QPoint(9, 15), QPoint(11, 14),
                                    QPoint(9, 9), QPoint(13, 9)}));
            break;
        case C::AddButton:
            p.setBrush(QColor(220, 220, 220));
            p.drawRoundedRect(QRect(1, 4, 13, 8), 2, 2);
            p.drawLine(5, 8, 10, 8);
            break;
        case C::AddCheckbox:
            p.setBrush(Qt::white);
            p.drawRect(2, 3, 10, 10);
            p.drawLine(4, 8, 6, 11);
            p.drawLine(6, 11, 11, 4);
            break;
        case C::AddLabel: {
            QFont f = p.font();
            f.setPixelSize(13);
            f.setBold(true);
            p.setFont(f);
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
            break;
        }
        case C::AddText:
            p.setBrush(Qt::white);
            p.drawRect(1, 4, 13, 8);
            p.drawLine(4, 6, 4, 10);
            break;
        case C::AddSelector:
        case C::AddFileSel:
            p.setBrush(Qt::white);
            p.drawRect(1, 1, 13, 13);
            p.drawLine(3, 4, 8, 4);
            p.drawLine(3, 7, 8, 7);
            p.drawLine(3, 10, 8, 10);
            p.drawLine(11, 1, 11, 14);
            if (command == C::AddFileSel) p.fillRect(3, 11, 5, 3, QColor(224, 192, 64));
            break;
        case C::AddGrid:
            p.setBrush(Qt::white);
            p.drawRect(1, 2, 13, 11);
            for (int y : {5, 8, 11}) p.drawLine(1, y, 14, y);
            p.drawLine(6, 2, 6, 13);
            p.drawLine(10, 2, 10, 13);
            break;
        case C::AddDropdown:
            p.setBrush(Qt::white);
            p.drawRect(1, 4, 13, 8);
            p.setBrush(ink);
            p.drawPolygon(QPolygon({QPoint(9, 7), QPoint(13, 7), QPoint(11, 10)}));
            break;
        case C::ToggleFrame:
            p.drawRect(1, 4, 13, 10);
            p.fillRect(3, 3, 6, 3, Qt::white);
            p.drawLine(3, 4, 8, 4);
            break;
        case C::AlignLeft:
            p.drawLine(1, 1, 1, 14);
            bars(p, QRect(2, 3, 10, 3), QRect(2, 9, 6, 3));
            break;
        case C::AlignRight:
            p.drawLine(14, 1, 14, 14);
            bars(p, QRect(3, 3, 10, 3), QRect(7, 9, 6, 3));
            break;
        case C::AlignTop:
            p.drawLine(1, 1, 14, 1);
            bars(p, QRect(3, 2, 3, 10), QRect(9, 2, 3, 6));
            break;
        case C::AlignBottom:
            p.drawLine(1, 14, 14, 14);
            bars(p, QRect(3, 3, 3, 10), QRect(9, 7, 3, 6));
            break;
        case C::CentreVertical:
            p.drawLine(0, 7, 15, 7);
            bars(p, QRect(3, 3, 3, 9), QRect(9, 5, 3, 5));
            break;
        case C::CentreHorizontal:
            p.drawLine(7, 0, 7, 15);
            bars(p, QRect(3, 3, 9, 3), QRect(5, 9, 5, 3));
            break;
        case C::SpaceAcross:
            bars(p, QRect(1, 4, 3, 8), QRect(12, 4, 3, 8));
            p.drawRect(6, 4, 3, 8);
            break;
        case C::SpaceDown:
            bars(p, QRect(4, 1, 8, 3), QRect(4, 12, 8, 3));
            p.drawRect(4, 6, 8, 3);
            break;
        case C::SameWidth:
            bars(p, QRect(2, 2, 11, 4), QRect(2, 9, 11, 4));
            break;
        case C::SameHeight:
            bars(p, QRect(2, 2, 4, 11), QRect(9, 2, 4, 11));
            break;
        case C::SameBoth:
            bars(p, QRect(1, 1, 6, 6), QRect(8, 8, 6, 6));
            break;
        case C::ToggleGrid:
            dots(p);
            break;
        case C::SnapToGrid:
            dots(p);
            p.setBrush(QColor(96, 128, 192));
            p.drawRect(6, 6, 8, 8);
            break;
        case C::GridSpacing:
            dots(p);
            p.drawLine(2, 12, 14, 12);
            p.drawLine(2, 10, 2, 14);
            p.drawLine(14, 10, 14, 14);
            break;
        default:
            p.drawRect(2, 2, 11, 11);
            break;
    }
}

}  // namespace

QIcon formCommandIcon(DesignerCommand command) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw(p, command);
    p.end();
    return QIcon(pm);
}

}  // namespace varn
