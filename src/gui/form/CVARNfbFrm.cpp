#include "form/CVARNfbFrm.h"

#include "app/DocumentWindows.h"
#include "editor/SourceCommands.h"
#include "form/CVARNfbView.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

CVARNfbFrm::CVARNfbFrm(CVARNfbView* view, const std::string& path) : view_(view) {
    setObjectName(QStringLiteral("CVARNfbFrm"));
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    setPath(path);
}

void CVARNfbFrm::setPath(const std::string& path) {
    path_ = path;
    setProperty(DocumentWindows::kPathProperty, QString::fromStdString(path));
    updateTitle();
}

void CVARNfbFrm::updateTitle() {
    QString title = QString::fromStdString(paths::fileName(path_));
    if (fsys::exists(path_) && fsys::isReadOnly(path_)) title += QString::fromLatin1(SourceTexts::kReadOnlyTitleSuffix);
    if (view_->designer().modified()) title += QLatin1Char('*');
    if (windowTitle() != title) setWindowTitle(title);
}

}  // namespace varn
