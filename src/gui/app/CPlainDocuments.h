// Files shown as read-only text in MDI child windows: the stand-in document
// framework until the source editor, form designer and image editor arrive.
// Nothing is ever modified, so nothing needs saving.
#pragma once

#include <QPlainTextEdit>

#include "app/DocumentWindows.h"

class QMdiArea;
class QMdiSubWindow;

namespace varn {

class Ui;

// One read-only text view of a file; it can mark one line as the error line.
class CPlainTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CPlainTextView(std::string path, QWidget* parent = nullptr);

    const std::string& path() const { return path_; }
    // Moves the caret to `line` (from 0) and scrolls it into view.
    void goToLine(int line);
    // The error-marked line (from 0), or -1 when none is marked.
    int errorLine() const { return errorLine_; }
    void setErrorLine(int line);

private:
    std::string path_;
    int errorLine_ = -1;
};

class CPlainDocuments : public DocumentWindows {
public:
    CPlainDocuments(QMdiArea& area, Ui& ui);

    bool isOpen(const std::string& path) const override;
    bool isModified(const std::string& path) const override;
    bool save(const std::string& path) override;
    std::optional<std::string> text(const std::string& path) const override;
    std::vector<std::string> modifiedDocuments() const override;
    bool saveAllModified() override;
    bool open(const std::string& path, bool newForm) override;
    std::optional<int> openIcon(const std::string& path) override;

    bool openAtLine(const std::string& path, int line, bool errorMarker) override;
    void closeAll() override;
    std::string activePath() const override;

    // The view of an open file; null when none is open for it.
    CPlainTextView* view(const std::string& path) const;

private:
    QMdiSubWindow* windowOf(const std::string& path) const;
    CPlainTextView* openView(const std::string& path);

    QMdiArea& area_;
    Ui& ui_;
};

}  // namespace varn
