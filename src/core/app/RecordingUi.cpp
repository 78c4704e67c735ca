#include "app/RecordingUi.h"

namespace varn {

Answer RecordingUi::message(const Message& m) {
    messages.push_back(m);
    if (answers.empty()) return defaultAnswerOf(m);
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::vector<std::string> RecordingUi::openFiles(const FileDialog& d) {
    dialogs.push_back(d);
    if (openAnswers.empty()) return {};
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

std::optional<std::string> RecordingUi::saveFile(const FileDialog& d) {
    dialogs.push_back(d);
    if (saveAnswers.empty()) return std::nullopt;
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

std::vector<std::string> RecordingUi::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace varn
