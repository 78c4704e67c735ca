// The one door through which core talks to the user: message boxes, questions,
// file choosers and the wait cursor. The GUI shows them, batch mode writes them
// to standard error, tests record them and answer from a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varn {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    std::string text;
    std::string caption;  // empty: the application's name
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    std::optional<Answer> defaultAnswer;  // empty: the first button
};

// A file chooser request. The filter uses the "Name (*.x)|*.x|...||" form.
struct FileDialog {
    std::string title;
    std::string filter;
    std::string initialFolder;  // native path
    std::string defaultExtension;
    std::string fileName;  // proposed name
    bool multiple = false;
    bool confirmOverwrite = true;  // save: ask before choosing an existing file
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual Answer message(const Message& m) = 0;
    // Chosen native paths; empty when the user cancelled.
    virtual std::vector<std::string> openFiles(const FileDialog& d) = 0;
    virtual std::optional<std::string> saveFile(const FileDialog& d) = 0;
    virtual void setWaitCursor(bool /*on*/) {}

    // Shorthands for the common boxes.
    void error(const std::string& text, const std::string& caption = {});
    void warning(const std::string& text, const std::string& caption = {});
    void info(const std::string& text, const std::string& caption = {});
    void notify(const std::string& text, const std::string& caption = {});  // no icon
    bool askYesNo(const std::string& text, const std::string& caption = {},
                  MsgIcon icon = MsgIcon::Question);
    bool askOkCancel(const std::string& text, const std::string& caption = {},
                     MsgIcon icon = MsgIcon::Question);
    std::optional<std::string> openFile(const FileDialog& d);
};

// Shows the wait cursor for the lifetime of the scope.
class WaitCursor {
public:
    explicit WaitCursor(Ui& ui) : ui_(ui) { ui_.setWaitCursor(true); }
    ~WaitCursor() { ui_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Ui& ui_;
};

// The answer a box gives when nobody is there to click: its default button.
Answer defaultAnswerOf(const Message& m);

// Batch mode: every message's text goes to standard error followed by a line
// end; questions take their default answer; file choosers are cancelled.
class HeadlessUi : public Ui {
public:
    Answer message(const Message& m) override;
    std::vector<std::string> openFiles(const FileDialog& d) override;
    std::optional<std::string> saveFile(const FileDialog& d) override;
};

}  // namespace varn
