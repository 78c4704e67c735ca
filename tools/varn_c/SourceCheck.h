// The checks of a VARN source text that need no grammar of the language.
#pragma once

#include <string>
#include <vector>

namespace varnc {

struct SourceProblem {
    long line;  // 1-based
    std::string message;
};

struct DeclaredFunction {
    std::string name;
    std::string params;       // the header from the name to the closing parenthesis, "name()" when bare
    std::string description;  // the comment line right above the header, or empty
    long line;
};

struct IncludeLine {
    std::string name;  // as written between the double quotes
    long line;
};

struct SourceReport {
    std::vector<SourceProblem> problems;
    std::vector<DeclaredFunction> functions;
    std::vector<IncludeLine> includes;
};

// Scans one source text line by line. A double quote starts a string that
// must end on the same line; "#" outside a string starts a comment up to
// the end of the line. Outside comments and strings:
// - a line whose first word is "function" declares a function, which is
//   closed by the first following line "end;"; a function header met while
//   another function is open, and a function still open at the end of the
//   text, are reported at that function's header;
// - "end;" outside a function closes a declaration block (form objects,
//   lists, menus) and is not checked;
// - a line beginning with "COMPILE_IF" opens a conditional part that
//   "COMPILE_END_IF;" closes; "COMPILE_ELSE;" and "COMPILE_END_IF;" need
//   an open part, and parts still open at the end are reported;
// - a line "include" + blanks + a double-quoted name names an included file.
// Keywords are compared without regard to case.
SourceReport checkSource(const std::string& text);

}  // namespace varnc
