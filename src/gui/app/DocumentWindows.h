// The document windows of the main frame as the frame and its bars reach
// them: what core asks of the open documents (OpenDocuments), plus opening a
// file at a line and closing every document window. DocumentManager opens
// every file in a source view; forms and images are shown read-only there
// until their own editors take them.
#pragma once

#include <string>

#include "project/OpenDocuments.h"

namespace varn {

class DocumentWindows : public OpenDocuments {
public:
    // Every document window (QMdiSubWindow) carries the full path of its
    // document in this property; the saved window state is built from it.
    static constexpr const char* kPathProperty = "varnDocumentPath";

    // Opens the file (or activates its window when it is already open) and
    // puts the caret on `line`, counted from 0. With `errorMarker` the line
    // takes the error mark, which the previously marked line of that window loses.
    virtual bool openAtLine(const std::string& path, int line, bool errorMarker) = 0;
    // Closes every document window without asking.
    virtual void closeAll() = 0;
    // Path of the document in the active window; empty when none is active.
    virtual std::string activePath() const = 0;
};

}  // namespace varn
