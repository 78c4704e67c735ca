// The control kinds of a form: their codes, file keywords, default name
// patterns, banner words and property page titles.
#pragma once

#include <string>

namespace varn {

namespace kind {
inline constexpr int None = 0;  // no object (end of input while reading)
inline constexpr int Text = 1;
inline constexpr int Dropdown = 2;
inline constexpr int Label = 3;
inline constexpr int Button = 4;
inline constexpr int Checkbox = 5;
inline constexpr int Selector = 6;
inline constexpr int FileSel = 7;
inline constexpr int Grid = 8;
inline constexpr int Frame = 9;
inline constexpr int ListBlock = 10;  // only while reading: a list block
}  // namespace kind

struct ControlKindInfo {
    int code;
    const char* keyword;      // file keyword ("button" for checkboxes too)
    const char* namePattern;  // "%d" replaced by the control id
    const char* bannerWord;   // in "<word> Object Definition"
    const char* pageTitle;    // property sheet tab caption
};

// The entry of a kind 1..9, or null for any other code.
const ControlKindInfo* kindInfo(int code);
bool isControlKind(int code);
// Kinds a grid column may have: Button, Checkbox, Dropdown, Label, Text.
bool isColumnKind(int code);

// The default name of a control of the kind with the id ("Text%d" and 0 give "Text0").
std::string defaultControlName(int code, int id);
// "Text Object" ... "Frame Object"; "Unknown Object" for any other code.
std::string propertyPageTitle(int code);

}  // namespace varn
