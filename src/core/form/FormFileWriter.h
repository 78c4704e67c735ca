// The form file writer: the whole .vff text of a form document, VARN source
// the compiler includes twice (forward references, then object definitions).
#pragma once

#include <ctime>
#include <string>

namespace varn {

class CVARNfbDoc;

// The file text for a file named `fileName` (name and extension), dated
// `when` with the C library's "%x" and "%X" conversions in local time.
// Every line ends with CR LF.
std::string writeFormFile(const CVARNfbDoc& doc, const std::string& fileName, std::time_t when);

}  // namespace varn
