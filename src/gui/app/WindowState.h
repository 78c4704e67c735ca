// The window state a project keeps: the main window's placement and title
// ("MainFrame") and one "ViewFrame-%d" per open document window ("Frames"),
// written into the project file when the workspace is saved and read back when
// it opens, reopening the documents. The dock layout belongs to the user, not
// to a project: it is kept in the settings store in Qt's own format.
#pragma once

#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/OpenDocuments.h"
#include "project/WorkspaceWindows.h"

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace varn {

class DocumentWindows;
class SettingsStore;
struct ProjectModel;

// The 44-byte placement record of a window, laid out field by field as the
// Windows placement structure: length, flags, show command, minimised
// position, maximised position, normal rectangle; every field a 32-bit
// little-endian integer, the rectangle as left, top, right, bottom with right
// and bottom one past the last pixel.
struct WindowPlacement {
    static constexpr std::size_t kSize = 44;
    static constexpr std::uint32_t kShowNormal = 1;
    static constexpr std::uint32_t kShowMinimized = 2;
    static constexpr std::uint32_t kShowMaximized = 3;
    static constexpr std::uint32_t kRestoreToMaximized = 2;  // flag: a minimised window was maximised before

    std::uint32_t flags = 0;
    std::uint32_t showCmd = kShowNormal;
    QPoint minPosition{-1, -1};
    QPoint maxPosition{-1, -1};
    QRect normal;

    std::vector<std::uint8_t> encode() const;
    // None when the bytes are not a placement record.
    static std::optional<WindowPlacement> decode(const std::vector<std::uint8_t>& bytes);
    // The placement of a window whose restored rectangle is `normal`.
    static WindowPlacement of(const QWidget& window, const QRect& normal);
    bool operator==(const WindowPlacement&) const = default;
};

class WindowState : public WorkspaceWindows {
public:
    static constexpr const char* kMainFrameNode = "MainFrame";
    static constexpr const char* kFramesNode = "Frames";
    static constexpr const char* kViewFramePrefix = "ViewFrame-";
    static constexpr const char* kDockSection = "Workspace Manager";
    static constexpr const char* kDockKey = "DockLayout";

    // `barToActivate` gets the focus when a project marks no document window active.
    WindowState(QMainWindow& frame, QMdiArea& area, DocumentWindows& documents, const ProjectModel& project,
                SettingsStore& settings, QWidget* barToActivate);
    ~WindowState() override;

    void saveWindowState(SettingsNode& root, const std::string& projectFolder) override;
    void restoreWindowState(const SettingsNode& root) override;
    void closeAllDocuments() override;

    // The dock and toolbar layout, kept per user in the settings store.
    void saveDockLayout();
    bool restoreDockLayout();

    // The rectangle a document window returns to when it is neither
    // maximised nor minimised (document windows are followed from their creation).
    QRect normalGeometry(const QMdiSubWindow& window) const;
    // The document windows as "Frames" numbers them: in creation order, open ones only.
    std::vector<QMdiSubWindow*> documentWindows() const;
    // The path of the document shown in a window; empty for a window without one.
    static std::string documentPath(const QMdiSubWindow& window);

private:
    class Tracker;
    class LaterNormal;

    void placeMainFrame(const WindowPlacement& p);
    QMdiSubWindow* reopen(const SettingsNode& node, std::uint32_t& showCmd);

    QMainWindow& frame_;
    QMdiArea& area_;
    DocumentWindows& documents_;
    const ProjectModel& project_;
    SettingsStore& settings_;
    QWidget* barToActivate_;
    Tracker* tracker_;
    LaterNormal* laterNormal_;
};

}  // namespace varn
