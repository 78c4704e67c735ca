#include "form/CVARNfbView.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "form/FormPreviews.h"
#include "image/CVARNImgView.h"

namespace varn {

namespace {

constexpr std::array<double, 9> kZoomSteps = {0.5, 0.67, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};

FormRect normalized(const FormRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

std::optional<NudgeKey> nudgeKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return NudgeKey::Left;
        case Qt::Key_Right:
            return NudgeKey::Right;
        case Qt::Key_Up:
            return NudgeKey::Up;
        case Qt::Key_Down:
            return NudgeKey::Down;
        case Qt::Key_Home:
            return NudgeKey::Home;
        case Qt::Key_End:
            return NudgeKey::End;
        case Qt::Key_PageUp:
            return NudgeKey::PageUp;
        case Qt::Key_PageDown:
            return NudgeKey::PageDown;
        default:
            return std::nullopt;
    }
}

}  // namespace

// The form itself: the grid below the previews; mouse and keys go to the view.
class CVARNfbView::Surface : public QWidget {
public:
    explicit Surface(CVARNfbView& view) : QWidget(&view), view_(view) {
        setObjectName(QStringLiteral("FormSurface"));
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        view_.paintGrid(p);
    }
    void mousePressEvent(QMouseEvent* e) override { view_.mousePress(e); }
    void mouseMoveEvent(QMouseEvent* e) override { view_.mouseMove(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { view_.mouseRelease(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { view_.mouseDoubleClick(e); }
    void keyPressEvent(QKeyEvent* e) override { view_.keyPressEvent(e); }
    bool focusNextPrevChild(bool) override { return false; }

private:
    CVARNfbView& view_;
};

// Above the previews: the trackers, the tracked rectangle and the rubber band.
class CVARNfbView::Overlay : public QWidget {
public:
    explicit Overlay(CVARNfbView& view, QWidget* parent) : QWidget(parent), view_(view) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        view_.paintTrackers(p);
    }

private:
    CVARNfbView& view_;
};

CVARNfbView::CVARNfbView(std::unique_ptr<CVARNfbDoc> doc, Ui& ui, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("CVARNfbView"));
    designer_ = std::make_unique<FormDesigner>(std::move(doc), ui);
    designer_->doc().setPreviewHost(this);
    designer_->setEvents(this);
    designer_->setMeasure(this);
    surface_ = new Surface(*this);
    overlay_ = new Overlay(*this, surface_);
    setWidget(surface_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusProxy(surface_);
    setZoom(1.0);
}

CVARNfbView::~CVARNfbView() {
    // The records own their previews: they go before the surface deletes its children.
    designer_->doc().setPreviewHost(nullptr);
    designer_.reset();
}

QWidget* CVARNfbView::surface() const { return surface_; }

QPoint CVARNfbView::surfacePoint(int x, int y) const {
    return {kMargin + static_cast<int>(std::lround(x * zoom_)), kMargin + static_cast<int>(std::lround(y * zoom_))};
}

QRect CVARNfbView::toSurface(const FormRect& r) const {
    const QPoint a = surfacePoint(r.left, r.top);
    const QPoint b = surfacePoint(r.right, r.bottom);
    return QRect(a, QSize(b.x() - a.x(), b.y() - a.y()));
}

QPoint CVARNfbView::toForm(const QPoint& at) const {
    return {static_cast<int>(std::floor((at.x() - kMargin) / zoom_)),
            static_cast<int>(std::floor((at.y() - kMargin) / zoom_))};
}

void CVARNfbView::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    const FormEnvironment& env = designer_->doc().environment();
    surface_->resize(2 * kMargin + static_cast<int>(std::lround(env.pixelWidth * zoom_)),
                     2 * kMargin + static_cast<int>(std::lround(env.pixelHeight * zoom_)));
    overlay_->resize(surface_->size());
    refresh();
}

CVARNfbPreview* CVARNfbView::previewOf(const CVARNFBControl& record) {
    return dynamic_cast<CVARNfbPreview*>(record.window.get());
}

CVARNFBControl* CVARNfbView::controlAt(int x, int y) const {
    const auto& list = designer_->doc().controls();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        CVARNFBControl& c = **it;
        if (c.kind == kind::Frame || &c == designer_->pending()) continue;
        const FormRect r = normalized(c.rect());
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return &c;
    }
    return nullptr;
}

void CVARNfbView::refresh() {
    for (auto& c : designer_->doc().controls()) {
        CVARNfbPreview* w = previewOf(*c);
        if (!w) continue;
        if (c->kind == kind::Frame) {
            // The frame is the form itself: its group box takes the whole form, below the controls.
            w->place(zoom_);
            w->setGeometry(formArea());
            w->lower();
        } else {
            w->place(zoom_, QPoint(kMargin, kMargin));
        }
        w->setVisible(c.get() != designer_->pending());
        for (auto& cell : c->cells)
            if (CVARNfbPreview* cw = previewOf(*cell)) cw->place(zoom_);
    }
    overlay_->raise();
    updateOverlay();
}

void CVARNfbView::repaintPreviews() {
    for (auto& c : designer_->doc().controls()) {
        if (CVARNfbPreview* w = previewOf(*c)) w->invalidate();
        for (auto& cell : c->cells)
            if (CVARNfbPreview* cw = previewOf(*cell)) cw->invalidate();
    }
    refresh();
}

QRect CVARNfbView::trackerRegion() const {
    QRect region;
    for (auto& c : designer_->doc().controls())
        if (c->selected) {
            const int margin = 4 + c->tracker.handleSize;
            region |= toSurface(normalized(c->rect())).adjusted(-margin, -margin, margin, margin);
        }
    if (drag_ == Drag::Move || drag_ == Drag::Resize) region |= toSurface(normalized(tracked_)).adjusted(-1, -1, 1, 1);
    if (drag_ == Drag::Band) region |= band_.normalized().adjusted(-1, -1, 1, 1);
    return region;
}

void CVARNfbView::after() {
    refresh();
    emit changed();
}

// --- PreviewHost, DesignerEvents, FormMeasure ---

std::unique_ptr<PreviewWindow> CVARNfbView::createPreview(CVARNFBControl& record, PreviewWindow* parent, int) {
    QWidget* owner = surface_;
    if (auto* grid = dynamic_cast<CVARNfbPreview*>(parent)) owner = grid;
    auto preview = makePreview(record, owner);
    preview->setBitmapSource([this](const std::string& name) { return bitmapImage(name); });
    preview->place(zoom_, owner == surface_ ? QPoint(kMargin, kMargin) : QPoint());
    preview->show();
    overlay_->raise();
    return preview;
}

void CVARNfbView::controlsChanged() { emit listChanged(); }

void CVARNfbView::controlRaised(CVARNFBControl& control) {
    if (CVARNfbPreview* w = previewOf(control)) w->raise();
    overlay_->raise();
}

void CVARNfbView::projectTreeChanged() { emit projectTreeRefresh(); }

void CVARNfbView::gridChanged() {
    surface_->update();
    overlay_->update();
    emit gridSettingsChanged();
}

PixelSize CVARNfbView::textExtent(const FormFont& font, const std::string& text) {
    const QFontMetrics fm(CVARNfbPreview::qtFont(font));
    return {fm.horizontalAdvance(QString::fromLatin1(text.c_str())), fm.height()};
}

std::optional<PixelSize> CVARNfbView::bitmapSize(const std::string& name) {
    if (!images_) return std::nullopt;
    return projectBitmapSize(*images_, name);
}

QImage CVARNfbView::bitmapImage(const std::string& name) const {
    if (!images_) return {};
    auto picture = projectBitmap(*images_, name);
    return picture ? CVARNImgView::imageOf(*picture) : QImage();
}

// --- painting ---

QRect CVARNfbView::formArea() const {
    const FormEnvironment& env = designer_->doc().environment();
    return toSurface(FormRect{0, 0, env.pixelWidth, env.pixelHeight});
}

void CVARNfbView::paintGrid(QPainter& p) {
    const DesignerGrid& grid = designer_->grid;
    const FormEnvironment& env = designer_->doc().environment();
    p.fillRect(surface_->rect(), palette().color(QPalette::Mid));
    p.fillRect(formArea(), palette().color(QPalette::Window));
    if (!grid.shown || grid.spacing == 0) return;
    QPolygon dots;
    for (int y = 0; y < env.pixelHeight; y += grid.spacing)
        for (int x = 0; x < env.pixelWidth; x += grid.spacing) dots << surfacePoint(x, y);
    p.setPen(QPen(palette().color(QPalette::WindowText), std::max(1.0, zoom_)));
    p.drawPoints(dots);
    const int tenth = env.pixelHeight / 10;
    p.fillRect(QRectF(kMargin, kMargin + tenth * zoom_, env.pixelWidth * zoom_, 2 * zoom_), QColor(128, 128, 128));
}

namespace {

// The eight handles outside a rectangle: corners and edge middles, clockwise from top left.
std::array<QRect, 8> handlesOf(const QRect& r, int size) {
    const int cx = r.left() + r.width() / 2 - size / 2;
    const int cy = r.top() + r.height() / 2 - size / 2;
    const int l = r.left() - size, t = r.top() - size, rr = r.left() + r.width(), b = r.top() + r.height();
    return {QRect(l, t, size, size),  QRect(cx, t, size, size), QRect(rr, t, size, size), QRect(rr, cy, size, size),
            QRect(rr, b, size, size), QRect(cx, b, size, size), QRect(l, b, size, size),  QRect(l, cy, size, size)};
}

}  // namespace

void CVARNfbView::paintTrackers(QPainter& p) {
    // Drawn in batches of filled rectangles (no stroked outlines): a rubber
    // band may select every control of a large form.
    QVector<QRect> dottedEdges, handleOutlines, plainInsides, hatched;
    auto addEdges = [](QVector<QRect>& out, const QRect& r, int w) {
        out.push_back(QRect(r.left(), r.top(), r.width(), w));
        out.push_back(QRect(r.left(), r.bottom() - w + 1, r.width(), w));
        out.push_back(QRect(r.left(), r.top() + w, w, r.height() - 2 * w));
        out.push_back(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w));
    };
    for (auto& c : designer_->doc().controls()) {
        if (!c->selected || c.get() == designer_->pending()) continue;
        const QRect r = toSurface(normalized(c->rect()));
        const bool dominant = c->tracker.style == DesignerSelection::kDominantStyle;
        if (dominant)
            addEdges(hatched, r.adjusted(-3, -3, 3, 3), 3);
        else
            addEdges(dottedEdges, r.adjusted(-1, -1, 1, 1), 1);
        if (c->locked) continue;
        for (const QRect& h : handlesOf(r.adjusted(-3, -3, 3, 3), c->tracker.handleSize)) {
            handleOutlines.push_back(h);
            if (!dominant) plainInsides.push_back(h.adjusted(1, 1, -1, -1));
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
    p.drawRects(hatched);
    p.setBrush(QBrush(Qt::black, Qt::Dense4Pattern));
    p.drawRects(dottedEdges);
    p.setBrush(Qt::black);
    p.drawRects(handleOutlines);
    p.setBrush(Qt::white);
    p.drawRects(plainInsides);
    p.setBrush(Qt::NoBrush);
    if (drag_ == Drag::Move || drag_ == Drag::Resize) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(toSurface(normalized(tracked_)).adjusted(0, 0, -1, -1));
    } else if (drag_ == Drag::Band) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(band_.normalized());
    }
}

// --- mouse ---

std::optional<int> CVARNfbView::handleAt(const QPoint& at, CVARNFBControl*& control) const {
    std::vector<CVARNFBControl*> order = designer_->selection().selected();
    if (CVARNFBControl* d = designer_->selection().dominant()) order.insert(order.begin(), d);
    for (CVARNFBControl* c : order) {
        if (c->locked || !c->selected) continue;
        const QRect r = toSurface(normalized(c->rect())).adjusted(-3, -3, 3, 3);
        const auto handles = handlesOf(r, c->tracker.handleSize);
        for (int i = 0; i < 8; ++i)
            if (handles[static_cast<std::size_t>(i)].contains(at)) {
                control = c;
                return i;
            }
    }
    return std::nullopt;
}

void CVARNfbView::mousePress(QMouseEvent* e) {
    surface_->setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton) return;
    const QPoint at = toForm(e->position().toPoint());
    if (designer_->pending()) {
        designer_->placePending(at.x(), at.y());
        after();
        return;
    }
    pressAt_ = at;
    CVARNFBControl* hit = nullptr;
    if (auto handle = handleAt(e->position().toPoint(), hit)) {
        designer_->click(*hit, false);
        drag_ = Drag::Resize;
        handle_ = *handle;
    } else if ((hit = controlAt(at.x(), at.y()))) {
        designer_->click(*hit, (e->modifiers() & Qt::ShiftModifier) != 0);
        drag_ = FormDesigner::canTrack(*hit) ? Drag::Move : Drag::None;
    } else {
        drag_ = Drag::Band;
        band_ = QRect(e->position().toPoint(), QSize(1, 1));
    }
    dragged_ = hit;
    if (hit) tracked_ = startRect_ = normalized(hit->rect());
    after();
}

void CVARNfbView::mouseMove(QMouseEvent* e) {
    if (drag_ == Drag::None) return;
    if (drag_ == Drag::Band) {
        band_.setBottomRight(e->position().toPoint());
        updateOverlay();
        return;
    }
    const QPoint at = toForm(e->position().toPoint());
    const int dx = at.x() - pressAt_.x();
    const int dy = at.y() - pressAt_.y();
    FormRect r = startRect_;
    if (drag_ == Drag::Move) {
        r.moveTo(r.left + dx, r.top + dy);
    } else {
        if (handle_ == 0 || handle_ == 6 || handle_ == 7) r.left += dx;
        if (handle_ == 2 || handle_ == 3 || handle_ == 4) r.right += dx;
        if (handle_ == 0 || handle_ == 1 || handle_ == 2) r.top += dy;
        if (handle_ == 4 || handle_ == 5 || handle_ == 6) r.bottom += dy;
    }
    tracked_ = r;
    updateOverlay();
}

void CVARNfbView::updateOverlay() {
    const QRect now = trackerRegion();
    overlay_->update(trackers_ | now);
    trackers_ = now;
}

void CVARNfbView::mouseRelease(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const Drag was = drag_;
    drag_ = Drag::None;
    if (was == Drag::Band) {
        const QRect b = band_.normalized();
        const QPoint a = toForm(b.topLeft());
        const QPoint z = toForm(b.bottomRight());
        designer_->rubberBand(FormRect{a.x(), a.y(), z.x() + 1, z.y() + 1});
    } else if ((was == Drag::Move || was == Drag::Resize) && dragged_) {
        designer_->finishTrack(*dragged_, normalized(tracked_));
    }
    dragged_ = nullptr;
    after();
}

void CVARNfbView::mouseDoubleClick(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint at = toForm(e->position().toPoint());
    CVARNFBControl* hit = controlAt(at.x(), at.y());
    if (hit && hit == designer_->selection().dominant()) emit propertiesWanted();
}

// --- keys and wheel ---

void CVARNfbView::keyPressEvent(QKeyEvent* e) {
    const bool shift = (e->modifiers() & Qt::ShiftModifier) != 0;
    if (auto key = nudgeKeyOf(e->key()); key && designer_->selection().any()) {
        if (shift)
            designer_->resizeStep(*key);
        else
            designer_->nudge(*key);
        after();
        return;
    }
    switch (e->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            designer_->cycle(e->key() == Qt::Key_Backtab || shift);
            after();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (designer_->selection().dominant()) emit propertiesWanted();
            return;
        case Qt::Key_Escape:
            designer_->dropPending();
            after();
            return;
        default:
            QScrollArea::keyPressEvent(e);
    }
}

bool CVARNfbView::focusNextPrevChild(bool) { return false; }

void CVARNfbView::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(e);
        return;
    }
    stepZoom(e->angleDelta().y() > 0 ? 1 : -1);
    e->accept();
}

void CVARNfbView::stepZoom(int direction) {
    double next = zoom_;
    if (direction > 0) {
        for (double z : kZoomSteps)
            if (z > zoom_ + 1e-6) {
                next = z;
                break;
            }
    } else {
        for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
            if (*it < zoom_ - 1e-6) {
                next = *it;
                break;
            }
    }
    setZoom(next);
    emit changed();
}

}  // namespace varn
