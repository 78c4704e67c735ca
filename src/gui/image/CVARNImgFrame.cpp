#include "image/CVARNImgFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include "image/CVARNImgView.h"
#include "project/ProjectImages.h"

namespace varn {

CVARNImgFrame::CVARNImgFrame(ImageDocType type, Ui& ui, ProjectModel& project, ImageColours& colours, QWidget* parent)
    : QWidget(parent), ui_(ui), project_(project), doc_(type), editor_(doc_, colours) {
    setObjectName(QStringLiteral("ImageFrame"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    view_ = new CVARNImgView(editor_, this);
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
    editor_.setZoom(ImageEditor::fitZoom(width() - 2 * m, height() - 2 * m, s->width(), s->height()));
    view_->setGeometry(m, m, s->width() * editor_.zoom(), s->height() * editor_.zoom());
    view_->update();
}

void CVARNImgFrame::documentChanged() {
    refit();
    if (paneChanged) paneChanged();
}

void CVARNImgFrame::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    refit();
}

void CVARNImgFrame::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
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
