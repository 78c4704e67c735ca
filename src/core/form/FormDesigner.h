// The form designer's commands over one form. It owns the form document, the
// selection and the undo list, and gives every command of the designer view
// with its menu text, enabling rule and effect, the mouse and key rules and
// the status text; the view forwards input here and paints the records.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/FindInFiles.h"
#include "form/CVARNfbDoc.h"
#include "form/CVARNfbUndo.h"
#include "form/ContentSize.h"
#include "form/DesignerLayout.h"
#include "form/DesignerSelection.h"
#include "form/FormClipboard.h"

namespace varn {

class Ui;

enum class DesignerCommand {
    AddButton,
    AddCheckbox,
    AddLabel,
    AddText,
    AddSelector,
    AddFileSel,
    AddGrid,
    AddDropdown,
    Deselect,
    ToggleFrame,
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    CentreVertical,
    CentreHorizontal,
    SpaceAcross,
    SpaceDown,
    SameWidth,
    SameHeight,
    SameBoth,
    ToggleGrid,
    SnapToGrid,
    GridSpacing,
    SelectAll,
    SizeToContent,
    Copy,
    Paste,
    Delete,
    Undo,
    Lock,
    Unlock,
    GoToInvoker,
};

struct CommandState {
    bool enabled = false;
    bool checked = false;
    bool operator==(const CommandState&) const = default;
};

// What the view does when the designer changes things it shows.
class DesignerEvents {
public:
    virtual ~DesignerEvents() = default;
    // Records were added, removed or reordered: refill the object selector.
    virtual void controlsChanged() {}
    // The control went to the end of the list: its window goes to the top.
    virtual void controlRaised(CVARNFBControl& /*control*/) {}
    // A control was placed on the form: refresh the project tree.
    virtual void projectTreeChanged() {}
    // The grid settings changed: store them in the project, repaint.
    virtual void gridChanged() {}
};

class FormDesigner {
public:
    static constexpr const char* kStatusFormat = "Posn %d,%d Size %dx%d";
    static constexpr const char* kSelectorArrayEntry = "%s[%3d]";
    static constexpr const char* kNoInvokerType = "This control type does not allow invoker functions.";
    static constexpr const char* kEnterInvokerName = "Please enter an invoker function name.";

    // Finds the invoker's declaration in the project's sources (and shows
    // it); nothing when there is none, which it has reported.
    using InvokerSearch = std::function<std::optional<FindLocation>(const std::string& name)>;

    FormDesigner(std::unique_ptr<CVARNfbDoc> doc, Ui& ui);

    CVARNfbDoc& doc() { return *doc_; }
    const CVARNfbDoc& doc() const { return *doc_; }
    DesignerSelection& selection() { return selection_; }
    const DesignerSelection& selection() const { return selection_; }
    const FormUndoList& undoList() const { return undo_; }

    // The project-wide grid; the view keeps it in step with the project.
    DesignerGrid grid;

    void setClipboard(DesignerClipboard* clipboard) { clipboard_ = clipboard; }
    void setMeasure(FormMeasure* measure) { measure_ = measure; }
    void setEvents(DesignerEvents* events) { events_ = events; }
    void setInvokerSearch(InvokerSearch search) { invokerSearch_ = std::move(search); }

    bool modified() const { return modified_; }
    void setModified(bool on) { modified_ = on; }

    // --- commands ---
    // The menu or tool text of the command.
    static const char* commandText(DesignerCommand command);
    CommandState state(DesignerCommand command) const;
    // Runs the command when it is enabled; false when it is not. Grid Spacing
    // does nothing here: the view asks for the value and calls setGridSpacing.
    bool run(DesignerCommand command);

    // A tool button: drops a control still waiting to be placed and makes a
    // new one of the kind (a grid with 3 display rows, 3 data rows and one
    // Text column of 100 per cent) that waits to be placed.
    void addControl(int kindCode);
    CVARNFBControl* pending() const { return pending_; }
    // The pointer tool: the control waiting to be placed is deleted.
    void dropPending();
    // The left-button press that places the waiting control at (x, y).
    bool placePending(int x, int y);
    void toggleFrame();
    void align(AlignEdge edge);
    void makeSameSize(SameSize size);
    void centre(Axis axis);
    void spaceEvenly(Axis axis);
    void selectAll() { selection_.selectAll(); }
    void sizeToContent();
    void copy();
    bool paste();
    void deleteSelected();
    bool undo();
    void setLocked(bool locked);
    // The "Grid Spacing" dialog's value, 0..500; false when outside.
    bool setGridSpacing(int spacing);
    std::optional<FindLocation> goToInvoker();
    // The name Go to Invoker looks for: the control's invokes value, else its
    // name; nothing (after the message) for a label, the frame or no name.
    std::optional<std::string> invokerName(const CVARNFBControl& control);
    // The "Object Properties" sheet's OK: a modify record of `control`, then
    // its array grown by copies or shrunk from the end to `arraySize`, then
    // `edited`'s values (a grid with its cells) on the control and its shared
    // properties on every element. Returns the edited control (null when the
    // shrink removed it).
    CVARNFBControl* applyProperties(CVARNFBControl& control, const CVARNFBControl& edited, int arraySize);

    // --- mouse and keys ---
    // A left-button click on a control: the selection rule, then a modify
    // undo record for the move or resize that may follow.
    DesignerSelection::Click click(CVARNFBControl& control, bool shift);
    // The tracker may move or resize the control.
    static bool canTrack(const CVARNFBControl& control) { return !control.locked; }
    // The tracker let go at `tracked`: the constrained rectangle is applied
    // (a dropdown then takes the height of its closed box). A click that
    // changed nothing leaves no undo record.
    void finishTrack(CVARNFBControl& control, const FormRect& tracked);
    void rubberBand(const FormRect& band) { selection_.rubberBand(band); }
    // An arrow, Home, End, Page Up or Page Down key: every selected, unlocked
    // control moves when all stay inside the form. No undo record.
    bool nudge(NudgeKey key);
    // Shift with an arrow key: every selected, unlocked control's right edge
    // (Left, Right) or bottom edge (Up, Down) moves by one nudge step, when
    // each keeps at least one step of size and all stay inside the form. No
    // undo record.
    bool resizeStep(NudgeKey key);
    // Tab (Shift+Tab): the control after (before) the dominant one in list
    // order, the frame and a control waiting to be placed left out, becomes
    // the only selection and dominant, the list order unchanged. Null when
    // there is no such control.
    CVARNFBControl* cycle(bool backwards);
    // The object selector's choice: the control becomes the only selection
    // and dominant, the list order unchanged; the frame leaves nothing selected.
    void selectOnly(CVARNFBControl& control);
    // The constraint after a move or resize with this form's grid and units.
    FormRect constrain(const FormRect& pixels) const;

    // "Posn %d,%d Size %dx%d" of the dominant control in units; empty without one.
    std::string statusText() const;
    // The object selector: one entry per record in list order.
    std::vector<std::string> objectSelectorEntries() const;
    static std::string selectorEntry(const CVARNFBControl& control);

private:
    void record(CVARNfbUndo::Action action, const CVARNFBControl& control);
    // Sets the rectangle; a grid lays its cells out again.
    void applyRect(CVARNFBControl& control, const FormRect& r);
    // Names (when unnamed) and gives windows to a new record and its cells.
    void giveWindows(CVARNFBControl& control);
    // A window again for a record that keeps its id (undo).
    void remakeWindows(CVARNFBControl& control);
    void remakeWindow(CVARNFBControl& control, PreviewWindow* parent);
    CVARNFBControl* findRecorded(const CVARNfbUndo& change);
    std::vector<CVARNFBControl*> selectedUnlocked() const;
    void changed();
    void listChanged();

    std::unique_ptr<CVARNfbDoc> doc_;
    Ui& ui_;
    DesignerSelection selection_;
    FormUndoList undo_;
    DesignerClipboard* clipboard_ = nullptr;
    FormMeasure* measure_ = nullptr;
    DesignerEvents* events_ = nullptr;
    InvokerSearch invokerSearch_;
    CVARNFBControl* pending_ = nullptr;
    CVARNFBControl* tracking_ = nullptr;  // the control whose click record may be dropped
    bool modified_ = false;
};

}  // namespace varn
