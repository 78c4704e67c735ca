// The rule of the "Project Variables" dialog's OK button: each line of the
// list becomes a project variable "name = value" once its value passes the
// expression checker.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varn {

class Ui;

inline constexpr const char* kProjectVariablesTitle = "Project Variables";
inline constexpr const char* kProjectVariablesHeading = "Project Variable List Contents:";
inline constexpr const char* kVariableMissingEquals =
    "Missing equals sign for variable expression %s.\r\rIt should look something like this:\r"
    "my_str_var = \"a string\" or my_num_var = 123";
inline constexpr const char* kVariableSyntaxError =
    "Syntax error for variable expression %s.\r\rIt should look something like this:\r"
    "my_str_var = \"a string\" or my_num_var = 123";

// Checks a variable's value, given with its terminating ";": true when it
// parses and evaluates.
using VariableValueCheck = std::function<bool(const std::string& valueWithTerminator)>;

// The check through the expression checker, with ";" as the terminator.
bool checkVariableValue(const std::string& valueWithTerminator);

// Takes the dialog's lines in order into `projectVars`, which is emptied
// first. Each line is trimmed; an empty line is skipped; one final ";" goes
// and the line is trimmed again. A line without "=" or whose value fails the
// check shows its error box and ends the run: the lines accepted before it
// stay in `projectVars`. True when every line was taken (the dialog closes).
bool acceptProjectVariables(const std::vector<std::string>& lines, std::vector<std::string>& projectVars, Ui& ui,
                            const VariableValueCheck& check = checkVariableValue);

}  // namespace varn
