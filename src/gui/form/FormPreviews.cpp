#include "form/FormPreviews.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>
#include <functional>

#include "form/FormKinds.h"
#include "form/FormText.h"

namespace varn {

namespace {

QColor colourOf(std::uint32_t bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }

// A scrollbar, scrollbar or border value that asks for none.
bool isNone(const std::string& value) {
    const std::string v = trimBlanks(value);
    return v.empty() || equalsNoCase(v, "none");
}

constexpr int kScrollWidth = 16;

}  // namespace

CVARNfbPreview::CVARNfbPreview(CVARNFBControl& record, QWidget* parent) : QWidget(parent), record_(record) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    const ControlKindInfo* info = kindInfo(record.kind);
    setAccessibleName(QString::fromStdString(record.name) + QLatin1Char(' ') +
                      QString::fromLatin1(info ? info->bannerWord : "Control"));
    font_ = qtFont(FormFont{});
}

QFont CVARNfbPreview::qtFont(const FormFont& font) {
    QFont f(QString::fromStdString(font.face));
    // A cell height includes the internal leading; the character height does not.
    const int px = font.height > 0 ? font.height : 11;
    f.setPixelSize(std::max(1, font.characterHeight ? px : px * 4 / 5));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    f.setItalic(font.italic);
    if (font.fixedPitch) f.setFixedPitch(true);
    return f;
}

void CVARNfbPreview::applyFont(const FormFont& font) {
    font_ = qtFont(font);
    itemHeight_ = font.height > 0 ? font.height : kDefaultItemHeight;
    invalidate();
}

void CVARNfbPreview::invalidate() {
    picture_ = QPixmap();
    update();
}

void CVARNfbPreview::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    picture_ = QPixmap();
}

void CVARNfbPreview::showText(const std::string& text) {
    text_ = QString::fromLatin1(text.c_str());
    setAccessibleName(QString::fromStdString(record_.name));
    setAccessibleDescription(text_);
    invalidate();
}

// An item is as high as the form font's cell; the box adds its edge and border on both sides.
int CVARNfbPreview::closedBoxHeight() const { return itemHeight_ + 2 * (2 + 1) + 2; }

int CVARNfbPreview::listMeasureHeight() const { return itemHeight_ + 2 * (2 + 1); }

void CVARNfbPreview::place(double zoom, QPoint origin) {
    if (zoom != zoom_) picture_ = QPixmap();
    zoom_ = zoom;
    const FormRect& r = record_.rect();
    const int left = static_cast<int>(std::lround(r.left * zoom));
    const int top = static_cast<int>(std::lround(r.top * zoom));
    const int right = static_cast<int>(std::lround(r.right * zoom));
    const int bottom = static_cast<int>(std::lround(r.bottom * zoom));
    setGeometry(origin.x() + left, origin.y() + top, std::max(1, right - left), std::max(1, bottom - top));
}

bool CVARNfbPreview::isCell() const { return qobject_cast<CVARNfbPreview*>(parentWidget()) != nullptr; }

QColor CVARNfbPreview::foreground() const {
    return record_.useSystemColours ? palette().color(QPalette::WindowText) : colourOf(record_.foreground);
}

QColor CVARNfbPreview::background(QPalette::ColorRole systemRole) const {
    return record_.useSystemColours ? palette().color(systemRole) : colourOf(record_.background);
}

// Drawing with the style is slow next to copying a picture: a control is
// drawn once and copied on every paint until it changes.
void CVARNfbPreview::paintEvent(QPaintEvent* e) {
    if (picture_.isNull()) {
        const qreal ratio = devicePixelRatioF();
        picture_ = QPixmap(size() * ratio);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::transparent);
        QPainter p(&picture_);
        p.scale(zoom_, zoom_);
        p.setFont(font_);
        const int w = static_cast<int>(std::lround(width() / zoom_));
        const int h = static_cast<int>(std::lround(height() / zoom_));
        paintPreview(p, QRect(0, 0, std::max(1, w), std::max(1, h)));
    }
    QPainter p(this);
    p.drawPixmap(e->rect(), picture_,
                 QRectF(QPointF(e->rect().topLeft()) * picture_.devicePixelRatio(),
                        QSizeF(e->rect().size()) * picture_.devicePixelRatio()));
}

void CVARNfbPreview::drawVerticalScrollBar(QPainter& p, const QRect& r) {
    QStyleOptionSlider o;
    o.initFrom(this);
    o.rect = QRect(r.right() - kScrollWidth + 1, r.top(), kScrollWidth, r.height());
    o.orientation = Qt::Vertical;
    o.minimum = 0;
    o.maximum = 10;
    o.pageStep = 5;
    o.subControls = QStyle::SC_All;
    o.state |= QStyle::State_Enabled;
    style()->drawComplexControl(QStyle::CC_ScrollBar, &o, &p, this);
}

void CVARNfbPreview::drawSunkenBox(QPainter& p, const QRect& r, const QColor& fill) {
    p.fillRect(r, fill);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void CVARNfbText::paintPreview(QPainter& p, const QRect& r) {
    const QColor fill = background(record_.noInput ? QPalette::Window : QPalette::Base);
    QRect inner = r;
    if (isCell()) {
        p.fillRect(r, fill);
    } else {
        drawSunkenBox(p, r, fill);
        inner.adjust(2, 2, -2, -2);
    }
    if (!isNone(record_.scrollbar)) {
        drawVerticalScrollBar(p, inner);
        inner.setRight(inner.right() - kScrollWidth);
    }
    p.setPen(foreground());
    p.drawText(inner.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}

void CVARNfbDropdown::paintPreview(QPainter& p, const QRect& r) {
    QStyleOptionComboBox o;
    o.initFrom(this);
    o.rect = r;
    o.currentText = text_;
    o.editable = false;
    o.frame = true;
    o.state |= QStyle::State_Enabled;
    o.palette.setColor(QPalette::Base, background(QPalette::Base));
    o.palette.setColor(QPalette::Button, background(QPalette::Button));
    o.palette.setColor(QPalette::ButtonText, foreground());
    o.palette.setColor(QPalette::Text, foreground());
    style()->drawComplexControl(QStyle::CC_ComboBox, &o, &p, this);
    style()->drawControl(QStyle::CE_ComboBoxLabel, &o, &p, this);
}

void CVARNfbLabel::paintPreview(QPainter& p, const QRect& r) {
    if (!trimBlanks(record_.bitmap).empty()) {
        const QImage picture = bitmaps_ ? bitmaps_(trimBlanks(record_.bitmap)) : QImage();
        if (!picture.isNull()) {
            p.save();
            p.setClipRect(r);
            p.drawImage(r.topLeft(), picture);
            p.restore();
            return;
        }
        // A bitmap the project does not have: its place, marked with its name.
        p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(foreground());
        p.drawText(r, Qt::AlignCenter, QString::fromStdString(record_.bitmap));
        return;
    }
    p.setPen(foreground());
    const Qt::Alignment v = isCell() ? Qt::AlignVCenter : Qt::AlignTop;
    p.drawText(r, Qt::AlignLeft | v | Qt::TextWordWrap, text_);
}

void CVARNfbButton::paintPreview(QPainter& p, const QRect& r) {
    const std::string border = lowerAscii(trimBlanks(record_.border));
    const QColor fill = background(QPalette::Button);
    p.setRenderHint(QPainter::Antialiasing, border != "square" && border != "none");
    const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    if (border == "square" || border == "none")
        path.addRect(box);
    else
        path.addRoundedRect(box, 4, 4);
    p.fillPath(path, fill);
    if (border != "none") {
        QPen pen(foreground(), border == "bold" ? 2.5 : 1.0);
        if (border == "dashed") pen.setStyle(Qt::DashLine);
        p.strokePath(path, pen);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(foreground());
    p.drawText(r, Qt::AlignCenter, text_);
}

void CVARNfbCheckbox::paintPreview(QPainter& p, const QRect& r) {
    QStyleOptionButton o;
    o.initFrom(this);
    o.rect = r;
    o.text = text_;
    o.state |= QStyle::State_Enabled | QStyle::State_Off;
    o.palette.setColor(QPalette::WindowText, foreground());
    style()->drawControl(QStyle::CE_CheckBox, &o, &p, this);
}

namespace {

void paintListBox(CVARNfbPreview& w, QPainter& p, const QRect& r, const QColor& fill, const QColor& text,
                  const QString& shown, const std::function<void(QPainter&, const QRect&)>& scrollBar) {
    QRect inner = r.adjusted(2, 2, -2, -2);
    p.fillRect(r, fill);
    p.setPen(w.palette().color(QPalette::Dark));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    scrollBar(p, inner);
    inner.setRight(inner.right() - 16);
    p.setPen(text);
    p.drawText(inner.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, shown);
}

}  // namespace

void CVARNfbSelector::paintPreview(QPainter& p, const QRect& r) {
    paintListBox(*this, p, r, background(QPalette::Base), foreground(), text_,
                 [this](QPainter& q, const QRect& in) { drawVerticalScrollBar(q, in); });
}

void CVARNfbFileSel::paintPreview(QPainter& p, const QRect& r) {
    paintListBox(*this, p, r, background(QPalette::Base), foreground(), text_,
                 [this](QPainter& q, const QRect& in) { drawVerticalScrollBar(q, in); });
}

void CVARNfbGrid::paintPreview(QPainter& p, const QRect& r) {
    p.fillRect(r, background(QPalette::Base));
    if (equalsNoCase(trimBlanks(record_.scrollbar), "yes")) drawVerticalScrollBar(p, r);
    const std::string border = lowerAscii(trimBlanks(record_.border));
    if (border.empty() || border == "none") return;
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void CVARNfbFrame::paintPreview(QPainter& p, const QRect& r) {
    // The form's own colour when it has one; else the view (and its grid) shows through.
    if (!record_.useSystemColours) p.fillRect(r, background(QPalette::Window));
    const QFontMetrics fm(font_);
    const int captionTop = fm.height() / 2;
    QRect box = r.adjusted(0, captionTop, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(box);
    if (text_.isEmpty()) return;
    const QRect caption(8, 0, fm.horizontalAdvance(text_) + 6, fm.height());
    p.fillRect(caption, background(QPalette::Window));
    p.setPen(foreground());
    p.drawText(caption, Qt::AlignCenter, text_);
}

std::unique_ptr<CVARNfbPreview> makePreview(CVARNFBControl& record, QWidget* parent) {
    switch (record.kind) {
        case kind::Text:
            return std::make_unique<CVARNfbText>(record, parent);
        case kind::Dropdown:
            return std::make_unique<CVARNfbDropdown>(record, parent);
        case kind::Label:
            return std::make_unique<CVARNfbLabel>(record, parent);
        case kind::Button:
            return std::make_unique<CVARNfbButton>(record, parent);
        case kind::Checkbox:
            return std::make_unique<CVARNfbCheckbox>(record, parent);
        case kind::Selector:
            return std::make_unique<CVARNfbSelector>(record, parent);
        case kind::FileSel:
            return std::make_unique<CVARNfbFileSel>(record, parent);
        case kind::Grid:
            return std::make_unique<CVARNfbGrid>(record, parent);
        case kind::Frame:
            return std::make_unique<CVARNfbFrame>(record, parent);
        default:
            return std::make_unique<CVARNfbLabel>(record, parent);
    }
}

}  // namespace varn
