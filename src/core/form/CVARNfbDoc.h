// The form document: the ordered list of control records of one form (the
// frame first when there is one), the units it is read and written in, and
// the hooks through which the GUI attaches preview windows and the project
// supplies its name check and expression preview.
#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/CVARNFBControl.h"
#include "form/FormGeometry.h"
#include "platform/Result.h"

namespace varn {

class Ui;
class ExprChecker;

// Makes preview windows; implemented by the designer view. Core keeps what it
// returns as an opaque handle and never draws.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    // parent: null for the view itself, else the grid's preview for a cell.
    virtual std::unique_ptr<PreviewWindow> createPreview(CVARNFBControl& record, PreviewWindow* parent, int id) = 0;
};

// The process-wide control counter: starts at 0, shared by all kinds.
class ControlCounter {
public:
    // Returns the current value and adds one.
    static int next();
    static int peek();
    static void reset(int value = 0);
};

// How a load ended.
struct FormLoadResult {
    bool corrupted = false;  // "Corrupted form file" was shown; what was read before stays
    int objects = 0;         // objects kept (an array counts once)
};

class CVARNfbDoc {
public:
    using ControlList = std::vector<std::unique_ptr<CVARNFBControl>>;
    // Single-name duplicate check (quiet): true when `name` may not be given to `control`.
    using NameInUse = std::function<bool(const CVARNFBControl& control, const std::string& name)>;
    // Preview text of a display expression: a number as "%g", a string as it is,
    // "<Invalid Expression>" when it cannot be evaluated.
    using ExpressionPreview = std::function<std::string(const std::string& expression)>;
    using Clock = std::function<std::time_t()>;

    static constexpr const char* kInvalidExpression = "<Invalid Expression>";

    explicit CVARNfbDoc(const FormEnvironment& env = {});
    ~CVARNfbDoc();
    CVARNfbDoc(const CVARNfbDoc&) = delete;
    CVARNfbDoc& operator=(const CVARNfbDoc&) = delete;

    // --- control list ---
    ControlList& controls() { return controls_; }
    const ControlList& controls() const { return controls_; }
    // The first record when it is a frame, else null.
    CVARNFBControl* frame();
    const CVARNFBControl* frame() const;
    // The frame's name (trimmed) when the first record is a frame, else "".
    std::string ownerName() const;
    CVARNFBControl& append(std::unique_ptr<CVARNFBControl> record);
    CVARNFBControl& insertAtHead(std::unique_ptr<CVARNFBControl> record);
    // Moves the record to the end of the list (the last object written);
    // false when it already is last or is not in the list.
    bool moveToEnd(const CVARNFBControl* record);
    // Takes the record out of the list; null when it is not in it.
    std::unique_ptr<CVARNFBControl> remove(const CVARNFBControl* record);
    // The first record whose name equals `name` without regard to case.
    CVARNFBControl* findByName(const std::string& name);
    // The elements of the array `element` belongs to (same name without regard
    // to case and same array count), in list order; just the record itself
    // for a single control.
    std::vector<CVARNFBControl*> arrayElements(const CVARNFBControl& element);
    void clear();

    // --- records ---
    // A record of the kind with this form's new-record values.
    std::unique_ptr<CVARNFBControl> newRecord(int kindCode) const;
    // Gives the record its id, a default name when it has none (the first name
    // of its kind's pattern that the name check lets through), and its preview
    // window with font and text. id 0 takes the next id from the counter.
    void giveWindow(CVARNFBControl& record, PreviewWindow* parent = nullptr, int id = 0);
    // Rebuilds the record's font object and hands it to its preview window.
    void applyFont(CVARNFBControl& record) const;
    FormFont fontOf(const CVARNFBControl& record) const;
    // The display text, or for an expression its preview value.
    std::string previewText(const CVARNFBControl& record);
    // Creates a frame, names it, gives it a window and puts it at the head.
    CVARNFBControl& addFrame();
    // A new, empty form: the new-document flag is set and a frame heads the list.
    void makeNewEmpty();

    // --- units ---
    const FormEnvironment& environment() const { return env_; }
    const FormScale& scale() const { return scale_; }
    // Pixels per unit for a file being read: form pixel size / file units; with
    // no units line, / previous display size (the scale when that is current).
    float readFactorX() const;
    float readFactorY() const;
    // A rectangle in units (from a file) to pixels with the read factors.
    FormRect unitsToPixels(const FormRect& units) const;
    // A rectangle in pixels, offset by the origin, in units.
    FormRect pixelsToUnits(const FormRect& pixels) const;

    int originX = 0;
    int originY = 0;
    bool newDocument = false;
    int fileUnitsX = 0;
    int fileUnitsY = 0;

    // Lists used while reading one object (positions in units).
    std::vector<std::pair<int, int>> pendingPositions;
    std::vector<std::string> pendingBitmaps;
    std::vector<std::uint32_t> pendingForegrounds;
    std::vector<std::uint32_t> pendingBackgrounds;
    void clearPending();

    // --- file ---
    // Reads a form file's bytes into this (empty) document. Corruption is
    // reported through `ui`.
    FormLoadResult loadBytes(std::string_view bytes, Ui& ui);
    // Reads the file; an error when it cannot be read.
    Result<FormLoadResult> load(const std::string& path, Ui& ui);
    // The whole form file text for a file of that name (no folder).
    std::string formText(const std::string& fileName) const;
    // Writes the form file whole and atomically.
    Status save(const std::string& path) const;

    // --- hooks ---
    void setPreviewHost(PreviewHost* host) { host_ = host; }
    PreviewHost* previewHost() const { return host_; }
    // The project-wide check; without one a name is in use when a record of
    // this form other than the control has it (without regard to case).
    void setNameInUse(NameInUse check) { nameInUse_ = std::move(check); }
    bool nameInUse(const CVARNFBControl& control, const std::string& name) const;
    void setExpressionPreview(ExpressionPreview preview) { expressionPreview_ = std::move(preview); }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    std::time_t now() const { return clock_ ? clock_() : std::time(nullptr); }

private:
    FormEnvironment env_;
    FormScale scale_;
    ControlList controls_;
    PreviewHost* host_ = nullptr;
    NameInUse nameInUse_;
    ExpressionPreview expressionPreview_;
    std::unique_ptr<ExprChecker> checker_;
    Clock clock_;
};

// "Add Files" and New Project: writes a new, empty form (one frame, named by
// the check) to `path`.
Status createEmptyFormFile(const std::string& path, const FormEnvironment& env,
                           CVARNfbDoc::NameInUse nameInUse = {});

}  // namespace varn
