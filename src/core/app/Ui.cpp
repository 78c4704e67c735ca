#include "app/Ui.h"

#include <unistd.h>

namespace varn {

void Ui::error(const std::string& text, const std::string& caption) {
    message({text, caption, MsgIcon::Error, MsgButtons::Ok, {}});
}
void Ui::warning(const std::string& text, const std::string& caption) {
    message({text, caption, MsgIcon::Warning, MsgButtons::Ok, {}});
}
void Ui::info(const std::string& text, const std::string& caption) {
    message({text, caption, MsgIcon::Information, MsgButtons::Ok, {}});
}
void Ui::notify(const std::string& text, const std::string& caption) {
    message({text, caption, MsgIcon::None, MsgButtons::Ok, {}});
}
bool Ui::askYesNo(const std::string& text, const std::string& caption, MsgIcon icon) {
    return message({text, caption, icon, MsgButtons::YesNo, {}}) == Answer::Yes;
}
bool Ui::askOkCancel(const std::string& text, const std::string& caption, MsgIcon icon) {
    return message({text, caption, icon, MsgButtons::OkCancel, {}}) == Answer::Ok;
}
std::optional<std::string> Ui::openFile(const FileDialog& d) {
    auto files = openFiles(d);
    if (files.empty()) return std::nullopt;
    return files.front();
}

Answer defaultAnswerOf(const Message& m) {
    if (m.defaultAnswer) return *m.defaultAnswer;
    bool yes = m.buttons == MsgButtons::YesNo || m.buttons == MsgButtons::YesNoCancel;
    return yes ? Answer::Yes : Answer::Ok;
}

Answer HeadlessUi::message(const Message& m) {
    std::string line = m.text + "\n";
    const char* p = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0) break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return defaultAnswerOf(m);
}

std::vector<std::string> HeadlessUi::openFiles(const FileDialog&) { return {}; }
std::optional<std::string> HeadlessUi::saveFile(const FileDialog&) { return std::nullopt; }

}  // namespace varn
