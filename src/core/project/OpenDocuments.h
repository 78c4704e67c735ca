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
    const char* filterName;  // the file chooser's entry, "Name (*.ext)"
    const char* typeName;    // the registered file type name
    bool text;               // edited as text (source, package, C and header files)
};

inline constexpr std::array<DocumentTemplateInfo, 7> kDocumentTemplates = {{
    {DocumentTemplate::Package, "vpk", "VARN Package (*.vpk)", "VARNide43.PackageFile", true},
    {DocumentTemplate::Source, "vsl", "VARN Source (*.vsl)", "VARNide43.SourceFile", true},
    {DocumentTemplate::Icon, "vic", "VARN Icon (*.vic)", "VARNide43.IconFile", false},
    {DocumentTemplate::Bitmap, "vbm", "VARN Bitmap (*.vbm)", "VARNide43.BitmapFile", false},
    {DocumentTemplate::Form, "vff", "VARN Form (*.vff)", "VARNide43.FormFile", false},
    {DocumentTemplate::CFile, "c", "C Source (*.c)", "VARNide43.CFile", true},
    {DocumentTemplate::Header, "h", "C Header (*.h)", "VARNide43.HeaderFile", true},
}};

inline const DocumentTemplateInfo& documentTemplateInfo(DocumentTemplate type) {
    return kDocumentTemplates[static_cast<std::size_t>(type)];
}

// The template whose filter extension is "." plus `extension` (no case).
inline std::optional<DocumentTemplate> documentTemplateFor(const std::string& extension) {
    for (const auto& t : kDocumentTemplates)
        if (paths::equalNoCase(extension, t.extension)) return t.type;
    return std::nullopt;
}

// The template a file opens with, by its extension; a file of no template's
// extension (an included file, a text file) opens as a source document.
inline DocumentTemplate documentTemplateOfFile(const std::string& path) {
    return documentTemplateFor(paths::extension(path)).value_or(DocumentTemplate::Source);
}

// The file chooser's filter: every template in template order, then all files.
inline std::string documentFilter() {
    std::string filter;
    for (const auto& t : kDocumentTemplates) filter += std::string(t.filterName) + "|*." + t.extension + "|";
    return filter + "All Files (*.*)|*.*||";
}

// The file chooser's filter for Save As of a document of one template.
inline std::string documentFilter(DocumentTemplate type) {
    const auto& t = documentTemplateInfo(type);
    return std::string(t.filterName) + "|*." + t.extension + "|All Files (*.*)|*.*||";
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
};

}  // namespace varn
