// The form documents the window layer has open, so that checks over the
// project's forms see their unsaved state instead of the files.
#pragma once

#include <string>

namespace varn {

class CVARNfbDoc;

// The form documents open in the designer, as the check reaches them. The
// window layer implements it.
class OpenForms {
public:
    virtual ~OpenForms() = default;
    // The open form document of the file (paths compared without regard to
    // case), or null when the form is not open.
    virtual CVARNfbDoc* openForm(const std::string& path) = 0;
};

}  // namespace varn
