#include "image/CImageColorBar.h"

#include <algorithm>

#include "image/CVARNColorWell.h"

namespace varn {

CImageColorBar::CImageColorBar(QWidget* parent) : QDockWidget(QStringLiteral("Image Color"), parent) {
    setObjectName(QStringLiteral("ImageColorBar"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
    well_ = new CVARNColorWell(this);
    setWidget(well_);
    // Wide enough for its title.
    setMinimumWidth(std::max(well_->sizeHint().width(), fontMetrics().horizontalAdvance(windowTitle()) + 48));
    toggleViewAction()->setStatusTip(QStringLiteral("Show and hide the image color toolbar"));
    connect(well_, &CVARNColorWell::picked, this, &CImageColorBar::picked);
}

void CImageColorBar::showColours(const ImageColours& colours) {
    well_->setColours(colours.foreground(), colours.background());
}

}  // namespace varn
