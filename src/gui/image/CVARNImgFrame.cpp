#include "image/CVARNImgFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>

#include "image/CVARNImgView.h"
#include "project/ProjectImages.h"

namespace varn {

CVARNImgFrame::CVARNImgFrame(ImageDocType type, Ui& ui, ProjectModel& project, ImageColours& colours, QWidget* parent)
    : QScrollArea(parent), ui_(ui), project_(project), doc_(type), editor_(doc_, colours) {
    setObjectName(QStringLiteral("ImageFrame"));
    setFrameShape(QFrame::NoFrame);
    setBackgroundRole(QPalette::Dark);
    canvas_ = new QWidget;
    canvas_->setBackgroundRole(QPalette::Dark);
    setWidget(canvas_);
    view_ = new CVARNImgView(editor_, canvas_);
    connect(view_, &CVARNImgView::zoomRequested, this, &CVARNImgFrame::zoomBy);
    connect(view_, &CVARNImgView::edited, this, [this] {
        if (paneChanged) paneChanged();
    });
    connect(view_, &CVARNImgView::statusChanged, this, &CVARNImgFrame::statusChanged);
    connect(view_, &CVARNImgView::coloursPicked, this, &CVARNImgFrame::coloursPicked);
}

CVARNImgFrame::~CVARNImgFrame() = default;

int CVARNImgFrame::margin() { return 2 * 2; }

DocumentTemplate CVARNImgFrame::paneTemplate() const {
    return doc_.isIconDocument() ? DocumentTemplate::Icon : DocumentTemplate::Bitmap;
}

bool CVARNImgFrame::openFile(const std::string& path) {
    if (!doc_.open(path, ui_, ProjectImages::settingsOf(project_))) return false;
    refit();
    return true;
}

bool CVARNImgFrame::savePane(const std::string& path) {
    ProjectImages images(project_);
    const bool ok = doc_.save(path, ui_, images);
    if (paneChanged) paneChanged();
    return ok;
}

void CVARNImgFrame::refit() {
    const PixelBuffer* s = doc_.surface();
    if (!s) return;
    const int m = margin();
    const QSize area = maximumViewportSize();
    const int fit = ImageEditor::fitZoom(area.width() - 2 * m, area.height() - 2 * m, s->width(), s->height());
    editor_.setZoom(fit + zoomSteps_);
    const QSize picture(s->width() * editor_.zoom(), s->height() * editor_.zoom());
    canvas_->resize(picture.expandedTo(area - QSize(2 * m, 2 * m)) + QSize(2 * m, 2 * m));
    view_->setGeometry(m, m, picture.width(), picture.height());
    view_->update();
}

void CVARNImgFrame::zoomBy(int steps) {
    const int fit = editor_.zoom() - zoomSteps_;
    // Never below zoom 1.
    zoomSteps_ = std::max(zoomSteps_ + steps, 1 - fit);
    refit();
}

void CVARNImgFrame::documentChanged() {
    refit();
    if (paneChanged) paneChanged();
}

void CVARNImgFrame::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    refit();
}

void CVARNImgFrame::showEvent(QShowEvent* e) {
    QScrollArea::showEvent(e);
    auto* window = qobject_cast<QMdiSubWindow*>(parentWidget());
    const PixelBuffer* s = doc_.surface();
    if (sized_ || !window || !window->mdiArea() || !s || window->isMaximized()) return;
    sized_ = true;
    // The window takes the size at which the image fits three quarters of the area.
    const QSize area = window->mdiArea()->viewport()->size() * 3 / 4;
    const QSize decoration = window->size() - size();
    const int m = margin();
    const int zoom = ImageEditor::fitZoom(area.width() - decoration.width() - 2 * m,
                                          area.height() - decoration.height() - 2 * m, s->width(), s->height());
    window->resize(QSize(zoom * s->width() + 2 * m, zoom * s->height() + 2 * m) + decoration);
    refit();
}

}  // namespace varn
