// A Ui for tests: keeps every message and file-chooser call in order and
// answers from a script queued beforehand (else with the default answer).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/Ui.h"

namespace varn {

class RecordingUi : public Ui {
public:
    Answer message(const Message& m) override;
    std::vector<std::string> openFiles(const FileDialog& d) override;
    std::optional<std::string> saveFile(const FileDialog& d) override;

    // Scripted answers, used in order.
    std::deque<Answer> answers;
    std::deque<std::vector<std::string>> openAnswers;  // empty vector: cancel
    std::deque<std::optional<std::string>> saveAnswers;

    std::vector<Message> messages;
    std::vector<FileDialog> dialogs;

    // The texts of all messages, in order.
    std::vector<std::string> texts() const;
    std::string lastText() const { return messages.empty() ? std::string() : messages.back().text; }
    void clear() { messages.clear(); dialogs.clear(); }
};

}  // namespace varn
