// langhelp: writes the language help page of the bundled VARN folder from its
// symbol file and keyword list, at build time.
//
//   langhelp <data folder> <output.html>

#include <cstdio>

#include "editor/LanguageHelp.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: langhelp <data folder> <output.html>\n", stderr);
        return 2;
    }
    const varn::Status written = varn::writeLanguageHelp(argv[1], argv[2]);
    if (!written) {
        std::fprintf(stderr, "langhelp: %s\n", written.error().message.c_str());
        return 1;
    }
    return 0;
}
