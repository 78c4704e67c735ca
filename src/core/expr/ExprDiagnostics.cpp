#include "expr/ExprDiagnostics.h"

namespace varn {

void ExprDiagnostics::error(std::string_view message) {
    ++count_;
    if (!sink_) return;
    std::string line;
    line.reserve(message.size() + 8);
    line.append("Error: ").append(message).append("\n");
    sink_(line);
}

}  // namespace varn
