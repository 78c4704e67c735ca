// The IDE's main window. For now it carries the title and an empty central
// area; the bars, menus and document windows plug into it.
#pragma once

#include <QMainWindow>

namespace varn {

class VARNWorkspaceManager;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(VARNWorkspaceManager& workspace, QWidget* parent = nullptr);

    VARNWorkspaceManager& workspace() { return workspace_; }

private:
    VARNWorkspaceManager& workspace_;
};

}  // namespace varn
