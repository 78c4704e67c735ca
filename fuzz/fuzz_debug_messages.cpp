// Fuzz target for the debugger message readers: any payload must be read or
// refused without reading past its end or allocating by a lying count, and
// whatever reads must build back into the bytes it came from.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "debug/DebugMessage.h"

namespace {

// The rebuilt payload must be the start of the input.
void expectPrefix(const varn::Payload& built, const std::uint8_t* data, std::size_t size) {
    if (built.size() > size || std::memcmp(built.data(), data, built.size()) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > varn::kMaxPayload) return 0;
    if (auto v = varn::readLineAndPath(data, size)) expectPrefix(varn::buildLineAndPath(v->line, v->path), data, size);
    if (auto v = varn::readText(data, size)) expectPrefix(varn::buildText(*v), data, size);
    if (auto v = varn::readNameValue(data, size)) expectPrefix(varn::buildNameValue(v->name, v->value), data, size);
    if (auto v = varn::readTextList(data, size)) expectPrefix(varn::buildTextList(*v), data, size);
    if (auto v = varn::readNameValueList(data, size)) expectPrefix(varn::buildNameValueList(*v), data, size);
    if (auto v = varn::readBreakpointPairs(data, size)) expectPrefix(varn::buildBreakpointPairs(*v), data, size);
    varn::PayloadReader r(data, size);
    while (r.u16() || r.text()) {
    }
    return 0;
}
