#include "image/CVARNImgView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "image/DevicePalette.h"

namespace varn {

bool CVARNImgView::grid_ = true;

namespace {

Qt::CursorShape cursorOf(ToolCursor c) {
    switch (c) {
        case ToolCursor::Pencil:
            return Qt::PointingHandCursor;
        case ToolCursor::Brush:
            return Qt::SizeAllCursor;
        case ToolCursor::Fill:
            return Qt::UpArrowCursor;
        case ToolCursor::Dropper:
            return Qt::WhatsThisCursor;
        case ToolCursor::Shape:
            break;
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
            out.set(x, y,
                    Rgb{static_cast<std::uint8_t>(qRed(row[x])), static_cast<std::uint8_t>(qGreen(row[x])),
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
    QPainter p(&img);
    if (z >= 4) {
        const Rgb clear = DevicePalette::palm().entry(ImageColours::kFixedSwatchEntry);
        const int half = z / 2;
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x)
                if (s->at(x, y) == clear) {
                    p.fillRect(x * z + half, y * z, z - half, half, Qt::white);
                    p.fillRect(x * z, y * z + half, half, z - half, Qt::white);
                }
    }
    if (gridShown(z)) {
        // A black line on the last screen column and row of every cell.
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
    paintKeyCell(p);
}

void CVARNImgView::paintKeyCell(QPainter& p) const {
    const auto cell = editor_.keyCell();
    if (!cell || !hasFocus()) return;
    const int z = editor_.zoom();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cell->x * z, cell->y * z, std::max(z - 1, 1), std::max(z - 1, 1));
}

void CVARNImgView::pressed() {
    const ImageTool t = editor_.tool();
    if (t == ImageTool::Dropper) emit coloursPicked();
    if (t == ImageTool::Pencil || t == ImageTool::Brush || t == ImageTool::Fill) emit edited();
}

void CVARNImgView::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    if (!(e->modifiers() & Qt::ControlModifier) || delta == 0) {
        QWidget::wheelEvent(e);
        return;
    }
    emit zoomRequested(delta > 0 ? 1 : -1);
    e->accept();
}

void CVARNImgView::keyPressEvent(QKeyEvent* e) {
    int dx = 0, dy = 0;
    switch (e->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        case Qt::Key_Space: {
            const ColourSide side =
                e->modifiers() & Qt::ShiftModifier ? ColourSide::Background : ColourSide::Foreground;
            const ImageTool t = editor_.tool();
            if (!editor_.clickAtKeyCell(side)) return;
            pressed();
            if (t != ImageTool::Select && t != ImageTool::Dropper) emit edited();
            update();
            return;
        }
        default:
            QWidget::keyPressEvent(e);
            return;
    }
    if (editor_.moveKeyCell(dx, dy)) {
        emitStatus();
        update();
    }
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
    const QRect r =
        QRect(QPoint(std::min(band->from.x, band->to.x), std::min(band->from.y, band->to.y)),
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
    pressed();
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
