// The documents open in the IDE's windows, as the project commands reach them.
// The window layer owns the documents (source, form and image documents with
// their views) and implements this interface; core never sees a window.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "project/OpenForms.h"

namespace varn {

// The registered document templates, in the order the application registers them.
enum class DocumentTemplate { Package, Source, Icon, Bitmap, Form, CFile, Header };

struct DocumentTemplateInfo {
    DocumentTemplate type;
    const char* extension;  // without the dot
};

inline constexpr std::array<DocumentTemplateInfo, 7> kDocumentTemplates = {{
    {DocumentTemplate::Package, "vpk"},
    {DocumentTemplate::Source, "vsl"},
    {DocumentTemplate::Icon, "vic"},
    {DocumentTemplate::Bitmap, "vbm"},
    {DocumentTemplate::Form, "vff"},
    {DocumentTemplate::CFile, "c"},
    {DocumentTemplate::Header, "h"},
}};

// The template whose filter extension is "." plus `extension` (no case).
inline std::optional<DocumentTemplate> documentTemplateFor(const std::string& extension) {
    for (const auto& t : kDocumentTemplates)
        if (paths::equalNoCase(extension, t.extension)) return t.type;
    return std::nullopt;
}

class OpenDocuments : public OpenForms {
public:
    virtual ~OpenDocuments() = default;

    // No form documents unless the window layer has them.
    CVARNfbDoc* openForm(const std::string& /*path*/) override { return nullptr; }

    // A document is open for the file.
    virtual bool isOpen(const std::string& path) const = 0;
    // The open document has unsaved changes: a modified source or form
    // document, or an image document whose images changed since the last save.
    // False when no document is open for the file.
    virtual bool isModified(const std::string& path) const = 0;
    // Saves the open document under its path; false when the save failed.
    virtual bool save(const std::string& path) = 0;
    // The text of an open source document; none when no text document is open for it.
    virtual std::optional<std::string> text(const std::string& path) const = 0;
    // Paths of the open documents that have unsaved changes.
    virtual std::vector<std::string> modifiedDocuments() const = 0;
    // Offers to save every modified document as the document framework does
    // (per document Yes, No or Cancel); false when the user cancelled.
    virtual bool saveAllModified() = 0;

    // Opens the file in its editor, or activates its window when already open.
    // `newForm` flags a form document that was created just now.
    virtual bool open(const std::string& path, bool newForm) = 0;
    // Opens an icon file as an image document and tells its icon kind (0 the
    // desktop icon, 1 the list icon, 2 neither); none when it could not be opened.
    virtual std::optional<int> openIcon(const std::string& path) = 0;
};

}  // namespace varn
