#include "app/CMainFrame.h"

#include <QWidget>

#include "app/CVarnIdeApp.h"

namespace varn {

CMainFrame::CMainFrame(VARNWorkspaceManager& workspace, QWidget* parent) : QMainWindow(parent), workspace_(workspace) {
    setWindowTitle(QString::fromLatin1(CVarnIdeApp::kAppName));
    setCentralWidget(new QWidget(this));
    resize(1024, 720);
}

}  // namespace varn
