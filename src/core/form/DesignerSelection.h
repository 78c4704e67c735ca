// The designer's selection: the selected flags of the form's records, the
// dominant control (the one clicked last), the tracker look that marks them,
// and the rules of a click, Select All and the rubber band.
#pragma once

#include <vector>

#include "form/FormGeometry.h"

namespace varn {

class CVARNfbDoc;
class CVARNFBControl;

class DesignerSelection {
public:
    static constexpr int kDominantStyle = 20;  // hatched border, outside resize handles
    static constexpr int kSelectedStyle = 18;  // dotted line, outside resize handles

    struct Click {
        bool onFrame = false;  // a click on the frame selects nothing
        bool raised = false;   // the control moved to the end of the list (its window to the top)
    };

    explicit DesignerSelection(CVARNfbDoc& doc) : doc_(doc) {}

    CVARNFBControl* dominant() const { return dominant_; }
    void setDominant(CVARNFBControl* control);

    // A left-button click on a control. Without Shift a control that is not
    // selected yet becomes the only selection; with Shift it is added, and on
    // an element of a control array every element of that array is selected
    // too. Unless it is the frame, the control becomes dominant and moves to
    // the end of the list, which is the order of the form file.
    Click click(CVARNFBControl& control, bool shift);
    // Every control except the frame; the dominant control stays.
    void selectAll();
    // A click on empty space ends with a band: every control wholly inside it
    // is selected (nothing else), the first of them in list order dominant.
    void rubberBand(const FormRect& band);
    void clear();
    void select(CVARNFBControl& control);
    // The record is leaving the list: it is no longer dominant.
    void forget(const CVARNFBControl* control);

    // The selected records in list order.
    std::vector<CVARNFBControl*> selected() const;
    int count() const;
    int unlockedCount() const;
    bool any() const { return count() > 0; }
    // The dominant control, else the only selected control, else null.
    CVARNFBControl* single() const;

    // Gives every record the tracker style of its state (0 when not selected).
    void refreshStyles();

private:
    CVARNfbDoc& doc_;
    CVARNFBControl* dominant_ = nullptr;
};

}  // namespace varn
