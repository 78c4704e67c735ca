// The "Output Window" bar: a tab window with the panes "Find In Files 1",
// "Find In Files 2" and "Build". Each pane is read-only, fixed-pitch text
// with a vertical scroll bar; a horizontal scroll bar appears only when the
// widest line of a read log needs it. A double-click on a line that names a
// file and a line asks for that file to be opened there.
#pragma once

#include <QDockWidget>
#include <QPlainTextEdit>

#include <functional>
#include <string>

class QTabWidget;

namespace varn {

struct BuildLogResult;

// One output pane.
class COutputPane : public QPlainTextEdit {
    Q_OBJECT
public:
    COutputPane(int controlId, bool buildPane, QWidget* parent = nullptr);

    int controlId() const { return controlId_; }
    bool isBuildPane() const { return buildPane_; }
    // Text of the line at a document position, cut to 512 characters.
    QString lineTextAt(int position) const;
    void setHorizontalBar(bool shown);
    bool horizontalBarShown() const { return horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff; }

signals:
    void lineDoubleClicked(const QString& line);

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int controlId_;
    bool buildPane_;
};

class COutputControlBar : public QDockWidget {
    Q_OBJECT
public:
    enum Pane { FindPane1 = 0, FindPane2 = 1, BuildPane = 2 };

    explicit COutputControlBar(QWidget* parent = nullptr);

    COutputPane* pane(int index) const;
    COutputPane* buildPane() const { return pane(BuildPane); }
    QTabWidget* tabs() const { return tabs_; }
    int activePane() const;
    void activatePane(int index);

    // The folder relative pane paths are resolved against (the project folder).
    void setProjectFolderSource(std::function<std::string()> source) { projectFolder_ = std::move(source); }
    // The fixed-pitch font of every pane (the "Build Window" font slot).
    void setPaneFont(const QFont& font);

    // Shows the bar and replaces the build pane's text; no horizontal bar.
    void showBuildText(const QString& text);
    // Adds one line at the end of the build pane (a running program's life).
    void appendBuildLine(const QString& line);
    // Shows a read log: the "Build" tab, its text, the first line when the
    // build failed and the end otherwise, the horizontal bar when needed.
    void showBuildLog(const BuildLogResult& result);
    // Whether a line of `widestChars` characters needs the horizontal bar in
    // the build pane at its present width.
    bool needsHorizontalBar(std::size_t widestChars) const;

    // Jumps from a line of a pane: emits openAtLine when it names a file.
    void jumpFrom(int paneIndex, const QString& line);

signals:
    // A double-click asked for `path` at `line` (counted from 0) with the error mark.
    void openAtLine(const QString& path, int line);

private:
    void showBar();

    QTabWidget* tabs_;
    std::function<std::string()> projectFolder_;
};

}  // namespace varn
