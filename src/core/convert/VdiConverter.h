// Converts a VARN data file into a PalmOS database: checks the file's
// description and row count in a first pass, then streams the rows, each
// encoded and written as it is read, into a temporary file that replaces the
// database when complete, so that a failed conversion leaves no partly written
// database behind (an existing database of the same name stays as it was). Every failure is a
// message box with the caption "Error!" and a stop icon.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/Ui.h"

namespace varn {

inline constexpr const char* kConvertErrorCaption = "Error!";

struct VdiConversion {
    std::string input;    // the data file
    std::string output;   // the database file, replaced when it exists
    std::string creator;  // its first four characters are written
    bool nonBeamable = false;
    bool backup = false;
    // Seconds since 1970 for the three dates; empty: the system clock.
    std::function<std::int64_t()> clock;
    // Decimal separator for numbers; empty: the user's locale's, taken when
    // the conversion starts.
    std::optional<std::string> decimalSeparator;
};

// True when the database was written; otherwise the error was shown.
bool convertVdiToPdb(const VdiConversion& conversion, Ui& ui);

// The input's folder + its base name + ".PDB".
std::string pdbPathFor(const std::string& input);

// The database name: the input's file name without its last four characters.
std::string pdbNameFor(const std::string& input);

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG), read
// afresh on every call; "." when the locale cannot be loaded.
std::string userDecimalSeparator();

namespace convertmsg {
inline constexpr const char* kCannotOpenVdb = "Cannot open VDB file";
inline constexpr const char* kCannotOpenPdb = "Cannot open PDB file";
inline constexpr const char* kNameTooShort = "VDB file name too short for a database name.";
inline constexpr const char* kNameTooLong = "VDB file name too long for a database name (31 characters at most).";
}  // namespace convertmsg

}  // namespace varn
