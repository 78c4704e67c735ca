// Fuzz target for the expression checker: arbitrary bytes as the expression
// text, the first byte choosing the terminator.
#include "expr/ExprChecker.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const char terminators[] = {';', ',', ')', ']', '\0', 'x', '"', '('};
    char terminator = terminators[data[0] % sizeof terminators];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    varn::ExprChecker checker;
    varn::ExprResult result = checker.check(text, terminator);
    if (result.status != 0 && result.status != -1 && result.status != -2) __builtin_trap();
    if (result.status == 0 && result.dataType < 0) __builtin_trap();
    varn::expressionPreview(checker, text, terminator);
    return 0;
}
