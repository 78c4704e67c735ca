// Fuzz target for the user tools file: any bytes must read without crashing,
// give at most nine complete tools, and what was read, written again, must
// read back the same; macro expansion of the texts must not crash either.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/UserTools.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<varn::UserTool> tools = varn::UserTools::parse(text);
    if (tools.size() > static_cast<std::size_t>(varn::UserTools::kMaxTools)) std::abort();
    for (const auto& t : tools)
        if (t.menuText.empty() || t.command.empty()) std::abort();
    if (varn::UserTools::parse(varn::UserTools::serialize(tools)) != tools) std::abort();

    varn::ToolMacros macros{"Demo", "/p/", "/p/Windows Debug/", "Main", "/p/src/"};
    for (const auto& t : tools) {
        (void)varn::expandMacros(t.command, macros);
        (void)varn::expandMacros(t.arguments, macros);
    }
    (void)varn::expandMacros(text, macros);
    return 0;
}
