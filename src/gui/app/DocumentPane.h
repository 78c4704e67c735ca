// A document window that is not a text view (an image editor, a designer):
// the document manager finds its path, asks whether it has unsaved changes
// and has it save itself, as it does with the source views.
#pragma once

#include <functional>
#include <string>

#include "project/OpenDocuments.h"

namespace varn {

class DocumentPane {
public:
    virtual ~DocumentPane() = default;

    virtual std::string panePath() const = 0;
    virtual DocumentTemplate paneTemplate() const = 0;
    // Unsaved changes: the question before closing and Save All ask it.
    virtual bool paneModified() const = 0;
    // Writes the document under `path`, which becomes its path on success.
    virtual bool savePane(const std::string& path) = 0;

    // Set by the document manager: the pane calls it when its modified
    // state or path may have changed, so that the window title follows.
    std::function<void()> paneChanged;
};

}  // namespace varn
