// The checks the "Object Properties" sheet runs when the user leaves a page:
// the common page, the page of the control's kind and a grid column's page,
// each in its order, reporting the first fault through the Ui and naming the
// field the user is sent back to.
#pragma once

#include <functional>
#include <string>

namespace varn {

class CVARNFBControl;
class Ui;

enum class PropertyField { None, Name, Display, Format, List, ListHeight, Binding };

struct PropertyChecks {
    Ui& ui;
    // "Settings"/"AutoDupCheck": the name checks over the project run.
    bool autoDupCheck = true;
    // The project-wide single-name check with its messages: true when the
    // name or list may not be given to the control. Empty: none.
    std::function<bool(const CVARNFBControl& control, const std::string& name, const std::string& list)> duplicate;
};

// Common page: trims the edited name, then checks it; a name changed other
// than in letter case runs the project-wide check.
PropertyField checkCommonPage(const CVARNFBControl& original, CVARNFBControl& edited, const PropertyChecks& checks);

// The page of the kind: display expression, format, list name (with the
// project-wide check of a changed list).
PropertyField checkKindPage(const CVARNFBControl& original, const CVARNFBControl& edited, const PropertyChecks& checks);

// A grid column's page (`column` is its position, -1 for the new column):
// display expression, format, list height, name, binding, the names of the
// grid's other columns, then the project-wide check of a changed name.
// `original` is the column's record as the sheet opened (null for a new one).
PropertyField checkColumnPage(const CVARNFBControl& grid, int column, const CVARNFBControl* original,
                              CVARNFBControl& edited, const PropertyChecks& checks);

}  // namespace varn
