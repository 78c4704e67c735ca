// The values edited by the "Syntax Coloring" dialog (CChromaDialog) for one
// editor section: five colours and two switches, read with the dialog's own
// defaults and written on OK to the section and to the C build section.
#pragma once

#include <string>
#include <vector>

#include "image/Rgb.h"

namespace varn {

class SettingsStore;

// One value the dialog's OK writes, in the order it writes them.
struct SettingWrite {
    std::string section;
    std::string key;
    std::string value;

    friend bool operator==(const SettingWrite&, const SettingWrite&) = default;
};

struct CChromaSettings {
    static constexpr const char* kTitle = "Syntax Coloring";
    // The dialog's defaults, used only when start-up has not written the keys.
    static constexpr const char* kDefaultKeyword = "0,0,192";
    static constexpr const char* kDefaultQuote = "255,0,0";
    static constexpr const char* kDefaultComment = "0,255,0";
    static constexpr const char* kDefaultDefaultText = "0,0,0";
    static constexpr const char* kDefaultBackground = "255,255,255";

    Rgb keyword{0, 0, 192};
    Rgb quote{255, 0, 0};
    Rgb comment{0, 255, 0};
    Rgb defaultText = kBlack;
    Rgb background = kWhite;
    bool caseSensitive = true;  // "Case"
    bool chroma = true;         // "Chroma": colouring on

    static CChromaSettings read(const SettingsStore& store, const std::string& section);

    // OK: "Keyword", "Quote", "Comment", "Default Text", "Background" as
    // "%d,%d,%d", then "Case" and "Chroma" as 0/1, each to `section` and right
    // after it to the C build section. Other keys ("SQuote"...) stay.
    std::vector<SettingWrite> okWrites(const std::string& section) const;
    void write(SettingsStore& store, const std::string& section) const;
};

}  // namespace varn
