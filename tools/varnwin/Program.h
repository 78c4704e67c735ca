// The program the runtime executes, taken from the container: the
// functions with their parameters, local names and statements, and the
// global assignments at the top level of the sources.
//
// The runtime understands a small part of VARN, one statement after the
// other, with no branches or loops:
//   name = expression;        assignment (the expression as the core evaluates it)
//   name; / name(a, b);       call of a function of the program
//   return;                   leaves the function
// Every other statement is kept as a place to stop at and otherwise skipped.
// Outside functions only assignments count; they set the globals.
#pragma once

#include "Container.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnwin {

enum class StatementKind { Assign, Call, Return, Other };

struct Statement {
    StatementKind kind = StatementKind::Other;
    std::size_t file = 0;
    long line = 0;          // from 1
    bool startsLine = true; // the first statement on its line
    std::string name;       // Assign: the variable; Call: the function
    std::string expression; // Assign: the value
    std::vector<std::string> arguments;  // Call
    std::string text;       // as written, without the ";"
};

struct Function {
    std::string name;
    std::size_t file = 0;
    long line = 0;  // of the header
    std::vector<std::string> parameters;
    std::vector<std::string> locals;  // the parameters, then assigned names that are not globals
    std::vector<Statement> body;
};

struct Program {
    std::vector<std::string> filePaths;  // by file index
    std::vector<Function> functions;     // in declaration order
    std::vector<Statement> globalAssignments;
    std::vector<std::string> globalNames;

    // The first function of that name (without regard to case), or null.
    const Function* find(std::string_view name) const;
};

// Builds the program. False, with `error` set, when a function record does
// not point at a function header of its file.
bool buildProgram(const Container& container, Program& program, std::string& error);

// The statements of one source line: the line without its "#" comment,
// split at ";" outside strings.
std::vector<Statement> parseLine(const std::string& line, std::size_t file, long lineNo);

}  // namespace varnwin
