#include "image/CVARNColorWell.h"

#include <QMouseEvent>
#include <QPainter>

#include "image/DevicePalette.h"

namespace varn {

namespace {

constexpr int kGap = 2;
constexpr int kRows = static_cast<int>(ImageColours::kBarEntries.size()) / CVARNColorWell::kColumns;

QColor qcolour(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

CVARNColorWell::CVARNColorWell(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ColorWell"));
    setMouseTracking(true);
    setMinimumSize(sizeHint());
}

QSize CVARNColorWell::sizeHint() const {
    return {kGap + kColumns * (kCell + kGap) + kGap, kGap + kRows * (kCell + kGap) + 2 * kCell + 3 * kGap};
}

Rgb CVARNColorWell::cellColour(int index) const {
    return DevicePalette::palm().entry(ImageColours::kBarEntries[static_cast<std::size_t>(index)]);
}

QRect CVARNColorWell::cellRect(int index) const {
    return {kGap + (index % kColumns) * (kCell + kGap), kGap + (index / kColumns) * (kCell + kGap), kCell, kCell};
}

QRect CVARNColorWell::swatchRect() const {
    return {kGap, kGap + kRows * (kCell + kGap) + kGap, kCell + kCell / 2, 2 * kCell};
}

QRect CVARNColorWell::fixedSwatchRect() const {
    const QRect s = swatchRect();
    return {width() - kGap - kCell / 2, s.top(), kCell / 2, s.height()};
}

void CVARNColorWell::setColours(Rgb foreground, Rgb background) {
    foreground_ = foreground;
    background_ = background;
    update();
}

void CVARNColorWell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::black);
    for (int i = 0; i < static_cast<int>(ImageColours::kBarEntries.size()); ++i) {
        p.setBrush(qcolour(cellColour(i)));
        p.drawRect(cellRect(i).adjusted(0, 0, -1, -1));
    }
    // The background square behind the foreground square.
    const QRect s = swatchRect();
    const QRect back(s.left() + kCell / 2, s.top() + kCell / 2 + kCell / 2, kCell, kCell);
    const QRect front(s.left(), s.top(), kCell, kCell);
    p.setBrush(qcolour(background_));
    p.drawRect(back.adjusted(0, 0, -1, -1));
    p.setBrush(qcolour(foreground_));
    p.drawRect(front.adjusted(0, 0, -1, -1));
    p.setBrush(qcolour(DevicePalette::palm().entry(ImageColours::kFixedSwatchEntry)));
    p.drawRect(fixedSwatchRect().adjusted(0, 0, -1, -1));
}

void CVARNColorWell::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
    const ColourSide side = e->button() == Qt::LeftButton ? ColourSide::Foreground : ColourSide::Background;
    const QPoint at = e->position().toPoint();
    if (fixedSwatchRect().contains(at)) {
        emit picked(DevicePalette::palm().entry(ImageColours::kFixedSwatchEntry), side);
        return;
    }
    for (int i = 0; i < static_cast<int>(ImageColours::kBarEntries.size()); ++i)
        if (cellRect(i).contains(at)) {
            emit picked(cellColour(i), side);
            return;
        }
}

void CVARNColorWell::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const bool overSwatch = swatchRect().contains(at) || fixedSwatchRect().contains(at);
    setCursor(overSwatch ? Qt::WhatsThisCursor : Qt::ArrowCursor);
}

}  // namespace varn
