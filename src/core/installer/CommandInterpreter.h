// A small stand-in for the command interpreter named by "comspec", for systems
// that have none: it knows the two commands the installer build's clean-up
// uses, so the same command texts do the same thing.
//
//   del <pattern>   deletes the files (never folders) matching the pattern;
//                   "*" and "?" match in the last component, names without
//                   regard to case; a read-only file is left alone.
//   rmdir <folder>  removes an empty folder.
//
// A leading "@" is ignored; "\" and "/" both separate folders; relative paths
// are taken from the working folder. Other commands fail.
#pragma once

#include <string>

namespace varn::install {

class CommandInterpreter {
public:
    // Runs one command line in `workingFolder`; returns its exit status
    // (0 when the command did what it says, 1 otherwise).
    static int run(const std::string& commandLine, const std::string& workingFolder);

    // Wildcard match of one name: "*" any run, "?" one character, letters without case.
    // "*.*" matches every name, with or without an extension.
    static bool matches(const std::string& pattern, const std::string& name);
};

// The command interpreter of the environment ("comspec", any letter case), or
// empty when none is set.
std::string comspecProgram();

}  // namespace varn::install
