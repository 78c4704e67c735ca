#include "menubar/CMenuBarPreview.h"

#include <QPainter>

namespace varn {

namespace {

constexpr int kPad = 6;
constexpr int kVisibleItems = 6;

}  // namespace

CMenuBarPreview::CMenuBarPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MenuBarPreview"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CMenuBarPreview::setMenu(const QStringList& tops, int openTop, const QStringList& items, int selectedItem) {
    tops_ = tops;
    openTop_ = openTop;
    items_ = items;
    selectedItem_ = selectedItem;
    update();
}

QSize CMenuBarPreview::sizeHint() const {
    const int line = fontMetrics().height() + 2;
    return {320, line * (kVisibleItems + 1) + 3 * kPad};
}

void CMenuBarPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xe8, 0xe8, 0xd0));  // the handheld's screen
    const QFontMetrics fm = fontMetrics();
    const int line = fm.height() + 2;
    const QRect bar(kPad, kPad, width() - 2 * kPad, line + 2);
    p.fillRect(bar, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(bar.adjusted(0, 0, -1, -1));

    int x = bar.left() + kPad;
    int openLeft = -1;
    for (int i = 0; i < tops_.size(); ++i) {
        const int w = fm.horizontalAdvance(tops_[i]) + 2 * kPad;
        const QRect cell(x - kPad / 2, bar.top() + 1, w, line);
        if (i == openTop_) {
            p.fillRect(cell, Qt::black);
            p.setPen(Qt::white);
            openLeft = cell.left();
        }
        p.drawText(cell, Qt::AlignCenter, tops_[i]);
        p.setPen(Qt::black);
        x += w;
    }
    if (openLeft < 0 || items_.isEmpty()) return;

    int menuWidth = 0;
    for (const QString& item : items_) menuWidth = std::max(menuWidth, fm.horizontalAdvance(item));
    const int shown = std::min<int>(items_.size(), kVisibleItems);
    const QRect menu(openLeft, bar.bottom() + 1, menuWidth + 3 * kPad, shown * line + 2);
    p.fillRect(menu, Qt::white);
    p.drawRect(menu.adjusted(0, 0, -1, -1));
    for (int i = 0; i < shown; ++i) {
        const QRect row(menu.left() + 1, menu.top() + 1 + i * line, menu.width() - 2, line);
        if (i == selectedItem_) {
            p.fillRect(row, Qt::black);
            p.setPen(Qt::white);
        }
        p.drawText(row.adjusted(kPad, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, items_[i]);
        p.setPen(Qt::black);
    }
}

}  // namespace varn
