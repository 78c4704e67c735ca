#include "form/PropertyPages.h"

#include <cstdio>

#include "app/Ui.h"
#include "form/CVARNFBControl.h"
#include "form/FormText.h"
#include "form/PropertyRules.h"

namespace varn {

namespace {

// The display and format checks shared by the kind pages and the columns.
PropertyField checkDisplayAndFormat(int kindCode, const CVARNFBControl& edited, Ui& ui) {
    if (kindHasDisplay(kindCode) && edited.displayIsExpression && !validDisplayExpression(edited.display)) {
        ui.error(kDisplayInvalid);
        return PropertyField::Display;
    }
    if (kindHasFormat(kindCode) && !validFormat(trimBlanks(edited.format))) {
        ui.error(kFormatInvalid);
        return PropertyField::Format;
    }
    return PropertyField::None;
}

bool checkName(CVARNFBControl& edited, Ui& ui) {
    edited.name = trimBlanks(edited.name);
    if (validObjectName(edited.name)) return true;
    ui.error(kObjectNameInvalid);
    return false;
}

bool clashes(const PropertyChecks& checks, const CVARNFBControl& control, const std::string& name,
             const std::string& list) {
    return checks.autoDupCheck && checks.duplicate && checks.duplicate(control, name, list);
}

}  // namespace

PropertyField checkCommonPage(const CVARNFBControl& original, CVARNFBControl& edited, const PropertyChecks& checks) {
    if (!checkName(edited, checks.ui)) return PropertyField::Name;
    if (!equalsNoCase(edited.name, trimBlanks(original.name)) && clashes(checks, original, edited.name, {}))
        return PropertyField::Name;
    return PropertyField::None;
}

PropertyField checkKindPage(const CVARNFBControl& original, const CVARNFBControl& edited,
                            const PropertyChecks& checks) {
    const PropertyField f = checkDisplayAndFormat(edited.kind, edited, checks.ui);
    if (f != PropertyField::None) return f;
    if (kindHasList(edited.kind)) {
        const std::string list = trimBlanks(edited.list);
        if (!validListName(list)) {
            checks.ui.error(kListNameInvalid);
            return PropertyField::List;
        }
        if (!list.empty() && !equalsNoCase(list, trimBlanks(original.list)) && clashes(checks, original, {}, list))
            return PropertyField::List;
    }
    return PropertyField::None;
}

PropertyField checkColumnPage(const CVARNFBControl& grid, int column, const CVARNFBControl* original,
                              CVARNFBControl& edited, const PropertyChecks& checks) {
    Ui& ui = checks.ui;
    const PropertyField f = checkDisplayAndFormat(edited.kind, edited, ui);
    if (f != PropertyField::None) return f;
    if (edited.kind == kind::Dropdown && edited.dropdownListHeight <= 0) {
        ui.error(kListHeightInvalid);
        return PropertyField::ListHeight;
    }
    if (!checkName(edited, ui)) return PropertyField::Name;
    if (!validBindingName(trimBlanks(edited.bind))) {
        ui.error(kBindingInvalid);
        return PropertyField::Binding;
    }
    if (checks.autoDupCheck) {
        for (int k = 0; k < grid.gridColumnCount(); ++k) {
            if (k == column || !equalsNoCase(trimBlanks(grid.gridColumn(k)->name), edited.name)) continue;
            char buffer[512];
            std::snprintf(buffer, sizeof buffer, kColumnNameUsed, edited.name.c_str(), k);
            ui.error(buffer);
            return PropertyField::Name;
        }
    }
    const bool renamed = !original || !equalsNoCase(edited.name, trimBlanks(original->name));
    const std::string list = edited.kind == kind::Dropdown ? trimBlanks(edited.list) : std::string();
    const bool relisted = !list.empty() && (!original || !equalsNoCase(list, trimBlanks(original->list)));
    if ((renamed || relisted) && clashes(checks, original ? *original : edited, renamed ? edited.name : std::string(),
                                         relisted ? list : std::string()))
        return PropertyField::Name;
    return PropertyField::None;
}

}  // namespace varn
