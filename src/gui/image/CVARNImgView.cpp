#include "image/CVARNImgView.h"

#include <QMouseEvent>
#include <QPainter>

namespace varn {

bool CVARNImgView::grid_ = true;

namespace {

Qt::CursorShape cursorOf(ToolCursor c) {
    switch (c) {
    case ToolCursor::Pencil: return Qt::PointingHandCursor;
    case ToolCursor::Brush: return Qt::SizeAllCursor;
    case ToolCursor::Fill: return Qt::UpArrowCursor;
    case ToolCursor::Dropper: return Qt::WhatsThisCursor;
    case ToolCursor::Shape: break;
    }
    return Qt::CrossCursor;
}

ViewPoint viewPoint(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

}  // namespace

CVARNImgView::CVARNImgView(ImageEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("ImageView"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateCursor();
}

QImage CVARNImgView::imageOf(const PixelBuffer& s) {
    QImage img(s.width(), s.height(), QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < s.width(); ++x) {
            const Rgb c = s.at(x, y);
            row[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return img;
}

PixelBuffer CVARNImgView::bufferOf(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer out(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            out.set(x, y, Rgb{static_cast<std::uint8_t>(qRed(row[x])), static_cast<std::uint8_t>(qGreen(row[x])),
                              static_cast<std::uint8_t>(qBlue(row[x]))});
    }
    return out;
}

QImage CVARNImgView::picture() const {
    const PixelBuffer* s = editor_.document().surface();
    if (!s) return {};
    const int z = editor_.zoom();
    QImage img = imageOf(*s);
    if (z > 1) img = img.scaled(s->width() * z, s->height() * z, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (gridShown(z)) {
        // A black line on the last screen column and row of every cell.
        QPainter p(&img);
        for (int x = z - 1; x < img.width(); x += z) p.fillRect(x, 0, 1, img.height(), Qt::black);
        for (int y = z - 1; y < img.height(); y += z) p.fillRect(0, y, img.width(), 1, Qt::black);
    }
    return img;
}

void CVARNImgView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage img = picture();
    p.fillRect(rect(), palette().window());
    p.drawImage(0, 0, img);
    paintBand(p);
}

void CVARNImgView::paintBand(QPainter& p) const {
    const auto band = editor_.band();
    if (!band) return;
    const int z = editor_.zoom();
    // An inverted outline: white drawn in difference mode.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    if (band->shape == BandShape::Line) {
        p.drawLine(band->from.x + z / 2, band->from.y + z / 2, band->to.x + z / 2, band->to.y + z / 2);
        return;
    }
    const QRect r = QRect(QPoint(std::min(band->from.x, band->to.x), std::min(band->from.y, band->to.y)),
                          QPoint(std::max(band->from.x, band->to.x) + z - 1, std::max(band->from.y, band->to.y) + z - 1));
    if (band->shape == BandShape::Ellipse)
        p.drawEllipse(r);
    else
        p.drawRect(r.adjusted(0, 0, -1, -1));
}

void CVARNImgView::updateCursor() { setCursor(cursorOf(imageToolInfo(editor_.tool()).cursor)); }

void CVARNImgView::emitStatus(bool force) {
    if (auto text = editor_.takeStatus(force)) emit statusChanged(QString::fromStdString(*text));
}

void CVARNImgView::mousePressEvent(QMouseEvent* e) {
    if (editor_.buttonDown() || (e->button() != Qt::LeftButton && e->button() != Qt::RightButton)) return;
    setFocus();
    const ColourSide side = e->button() == Qt::RightButton ? ColourSide::Background : ColourSide::Foreground;
    if (!editor_.press(viewPoint(e), side)) return;
    button_ = e->button();
    const ImageTool t = editor_.tool();
    if (t == ImageTool::Dropper) emit coloursPicked();
    if (t == ImageTool::Pencil || t == ImageTool::Brush || t == ImageTool::Fill) emit edited();
    emitStatus();
    update();
}

void CVARNImgView::mouseMoveEvent(QMouseEvent* e) {
    updateCursor();
    const bool down = editor_.buttonDown();
    if (!editor_.move(viewPoint(e))) return;
    if (down && (editor_.tool() == ImageTool::Pencil || editor_.tool() == ImageTool::Brush)) emit edited();
    emitStatus();
    if (down) update();
}

void CVARNImgView::mouseReleaseEvent(QMouseEvent* e) {
    if (!editor_.buttonDown() || e->button() != button_) return;
    button_ = Qt::NoButton;
    editor_.release(viewPoint(e));
    if (editor_.tool() != ImageTool::Select && editor_.tool() != ImageTool::Dropper) emit edited();
    emitStatus();
    update();
}

void CVARNImgView::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    emitStatus(true);
}

}  // namespace varn
