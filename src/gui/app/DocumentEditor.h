// An editor of one kind of document beside the source views (the form
// designer): DocumentManager hands it the files of its kind and asks it about
// the windows it keeps in the document area.
#pragma once

#include <string>
#include <vector>

class QMdiSubWindow;

namespace varn {

class CVARNfbDoc;

class DocumentEditor {
public:
    virtual ~DocumentEditor() = default;
    // The file is one this editor opens (by its extension).
    virtual bool handles(const std::string& path) const = 0;
    // Opens the file in a new window of the area, or activates the window it
    // has open; null (after a message) when it cannot be opened. `isNew`
    // flags a document that was created just now.
    virtual QMdiSubWindow* open(const std::string& path, bool isNew) = 0;
    // The window of the open file; null when none.
    virtual QMdiSubWindow* windowOf(const std::string& path) const = 0;
    // The paths of the open documents, in window creation order.
    virtual std::vector<std::string> openPaths() const = 0;
    virtual bool isModified(const std::string& path) const = 0;
    // Saves under its own path; false (after a message) when it failed.
    virtual bool save(const std::string& path) = 0;
    // Saves under `target`, asking for the name when it is empty; the window
    // follows the new name. False when cancelled or failed.
    virtual bool saveAs(const std::string& path, const std::string& target, bool ask = true) = 0;
    // The open form document of the file, if this editor keeps forms.
    virtual CVARNfbDoc* openForm(const std::string& /*path*/) { return nullptr; }
};

}  // namespace varn
