// The creator ID of a PalmOS or PocketPC application: four characters, kept
// in the project as the hexadecimal digits of their codes, two per character.
// The application settings dialog shows both forms and keeps them in step.
#pragma once

#include <string>

namespace varn::creator {

inline constexpr std::size_t kMaxText = 4;
inline constexpr std::size_t kMaxHex = 8;

// True when `hex` is what the setting may hold: at most 8 hexadecimal digits
// (an empty ID is refused by its own message where one is needed).
bool isStoredForm(const std::string& hex);

// Each character as two upper-case hexadecimal digits; cut to 8 digits.
std::string textToHex(const std::string& text);

// Each pair of digits (case-insensitive) as one character; an odd last digit is
// the high half of its character; characters that cannot be shown become ".";
// cut to 4 characters.
std::string hexToText(const std::string& hex);

}  // namespace varn::creator
