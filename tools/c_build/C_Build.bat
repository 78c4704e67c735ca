#!/bin/sh
# C_Build.bat: the stand-in C build of optimized PalmOS builds.
#
#   C_Build.bat <C build folder> <project base name, lower case>
#
# The IDE runs it in the output folder after the compiler has written the C
# translation "<base>.c" there (marked "VARN_C_BUILD 1"). It checks that
# translation and the project C files it names, and turns it into
# "<base>.prc", the code image the PRC converter takes with -gcc: the line
# "VARNCODE 1" followed by the translation.
#
# Messages go to standard output and to "C_Build.log" in the output folder.
# A failure ends with a line "make: *** ..." and exit status 2, as with make;
# any earlier "<base>.prc" is removed first, so a failed build leaves none.

log=C_Build.log
: > "$log" 2>/dev/null

say() {
    printf '%s\n' "$1"
    printf '%s\n' "$1" >> "$log" 2>/dev/null
}

fail() {
    say "make: *** $1"
    exit 2
}

lower() {
    printf '%s' "$1" | tr 'ABCDEFGHIJKLMNOPQRSTUVWXYZ' 'abcdefghijklmnopqrstuvwxyz'
}

folder=$1
base=$2
[ -n "$base" ] || fail "No targets specified and no makefile found.  Stop."

# The folder may come lower-cased; this script's own folder is the same one.
if [ ! -d "$folder" ]; then
    folder=$(dirname "$0")
fi
[ -d "$folder" ] || fail "$1: No such file or directory.  Stop."

target=$base.prc
rm -f "$target" "$target.tmp"

# The translation, its name compared without regard to case.
source=
wanted=$(lower "$base.c")
for f in ./* ./.[!.]*; do
    [ -f "$f" ] || continue
    name=${f#./}
    if [ "$(lower "$name")" = "$wanted" ]; then
        source=$name
        break
    fi
done
[ -n "$source" ] || fail "No rule to make target '$base.c', needed by '$target'.  Stop."

say "Compiling $source"
if ! grep -q 'VARN_C_BUILD 1' "$source"; then
    say "$PWD/$source:1: error: not a C translation of the VARN compiler"
    fail "[$target] Error 1"
fi

# Project C files named by the translation ("/* C file: <path> */").
missing=$(sed -n 's|^/\* C file: \(.*\) \*/$|\1|p' "$source" | while IFS= read -r cfile; do
    [ -f "$cfile" ] || printf '%s\n' "$cfile"
done)
if [ -n "$missing" ]; then
    printf '%s\n' "$missing" | while IFS= read -r cfile; do
        say "$cfile: No such file or directory"
    done
    fail "[$target] Error 1"
fi

if ! { printf 'VARNCODE 1\n' && cat "$source"; } > "$target.tmp" || ! mv "$target.tmp" "$target"; then
    rm -f "$target.tmp"
    fail "[$target] Error 1"
fi
say "Built $target"
exit 0
