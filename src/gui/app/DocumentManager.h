// Files in MDI child windows as plain text: the stand-in document framework
// until the source editor, form designer and image editor arrive. Documents
// of the text templates (source, package, C and header files, and files of no
// template) can be edited and saved; the others are shown read-only.
#pragma once

#include <QPlainTextEdit>
#include <QPointer>

#include <functional>

#include "app/DocumentWindows.h"
#include "app/Ui.h"

class QMdiArea;
class QMdiSubWindow;

namespace varn {

class Ui;

// One text view of a file, holding the file's text as a document: its line
// ends and character encoding are kept so that saving writes back the same
// bytes for the unchanged parts. It can mark one line as the error line.
class CPlainTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CPlainTextView(std::string path, QWidget* parent = nullptr);

    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }
    DocumentTemplate documentTemplate() const { return documentTemplateOfFile(path_); }
    // The document can be changed (a text template).
    bool editable() const { return documentTemplateInfo(documentTemplate()).text; }

    // Shows the bytes of a file, not modified.
    void load(const std::string& bytes);
    // The text as file bytes: each line with the line end the file had ("\r\n"
    // when it had any), in the encoding it was read with.
    std::string bytes() const;
    bool modified() const { return document()->isModified(); }
    void setModified(bool on) { document()->setModified(on); }

    // Moves the caret to `line` (from 0) and scrolls it into view.
    void goToLine(int line);
    // The error-marked line (from 0), or -1 when none is marked.
    int errorLine() const { return errorLine_; }
    void setErrorLine(int line);

private:
    std::string path_;
    std::string lineEnd_ = "\r\n";
    bool latin1_ = false;
    int errorLine_ = -1;
};

class CPlainDocuments : public DocumentWindows {
public:
    static constexpr const char* kReadOnlySave = "The file can not be saved because it is marked read-only";
    static constexpr const char* kReadOnlySuffix = " (read-only)";

    // Asks whether to save the changes of a document: Yes, No or Cancel.
    using SaveQuestion = std::function<Answer(const std::string& path)>;

    CPlainDocuments(QMdiArea& area, Ui& ui);
    ~CPlainDocuments() override;

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

    // Saves the document under another name, asking for it when `newPath` is
    // empty; the window follows the new name. False when cancelled or failed.
    bool saveAs(const std::string& path, const std::string& newPath = {});
    // The File menu's Save and Save As on the active document.
    bool saveActive();
    bool saveActiveAs();
    // The active document can be saved (it is of a text template).
    bool activeSavable() const;

    // Replaces the question asked before a modified document is closed or
    // when all are saved (the default asks with a message box).
    void setSaveQuestion(SaveQuestion q) { saveQuestion_ = std::move(q); }

    // The view of an open file; null when none is open for it.
    CPlainTextView* view(const std::string& path) const;
    // The title a document window shows: the file name, " (read-only)" for a
    // read-only file, and a "*" while the document is modified.
    QString windowTitle(const std::string& path) const;

private:
    class CloseGuard;

    QMdiSubWindow* windowOf(const std::string& path) const;
    CPlainTextView* openView(const std::string& path);
    std::vector<CPlainTextView*> views() const;
    bool write(CPlainTextView& v, const std::string& path);
    void updateTitle(CPlainTextView& v);
    // Offers to save one modified document: false when the user cancelled
    // or the save failed.
    bool saveModified(CPlainTextView& v);

    QMdiArea& area_;
    Ui& ui_;
    SaveQuestion saveQuestion_;
    QPointer<QObject> closeGuard_;
    bool closingAll_ = false;
};

}  // namespace varn
