// Numbers under the user's locale: with a comma as decimal separator, "1.5"
// and "1,5" give the same double. Uses an installed comma locale, or builds
// one into a temporary folder with localedef (no network needed); skips when
// neither works.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "ConvertTestSupport.h"
#include "convert/VdiReader.h"

namespace varn {
namespace {

using namespace test;

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A locale whose decimal separator is ",": its name, and the folder to use
// as LOCPATH ("" for the system's locales).
struct CommaLocale {
    std::string name;
    std::string locPath;
};

std::optional<CommaLocale> findCommaLocale(const TempDir& dir) {
    ProcessOutput all = runCommand("locale -a");
    for (const char* wanted : {"de_DE.utf8", "de_DE.UTF-8", "fr_FR.utf8", "nl_NL.utf8", "es_ES.utf8", "it_IT.utf8",
                               "de_DE", "fr_FR"}) {
        if (all.out.find(std::string(wanted) + "\n") == std::string::npos) continue;
        ScopedEnv lc("LC_ALL", wanted);
        if (userDecimalSeparator() == ",") return CommaLocale{wanted, ""};
    }
    ProcessOutput made = runCommand("localedef -i de_DE -f UTF-8 " + shellQuote(dir.file("de_DE.UTF-8")));
    if (made.status > 1) return std::nullopt;  // 1: made with warnings
    ScopedEnv path("LOCPATH", dir.path());
    ScopedEnv lc("LC_ALL", "de_DE.UTF-8");
    if (userDecimalSeparator() != ",") return std::nullopt;
    return CommaLocale{"de_DE.UTF-8", dir.path()};
}

// Built once per test program: localedef takes a few seconds.
const std::optional<CommaLocale>& commaLocale() {
    static TempDir folder;
    static const std::optional<CommaLocale> found = findCommaLocale(folder);
    return found;
}

TEST(ConvertLocale, CommaLocaleReadsPointAndCommaAlike) {
    const std::optional<CommaLocale>& comma = commaLocale();
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is available";
    std::optional<ScopedEnv> path;
    if (!comma->locPath.empty()) path.emplace("LOCPATH", comma->locPath);
    ScopedEnv lc("LC_ALL", comma->name);
    ASSERT_EQ(userDecimalSeparator(), ",");

    TempDir dir;
    const std::string input = dir.file("Decimals.vdi");
    writeBytes(input,
               "VARN Data File\nTable: Decimals\n\nFields: 2\nRecords: 2\nSyncPref: MERGE\n"
               "F1:a: N Size:8\nF2:b: NA Size:1\n1,0,1.5,\"1,5\"\n2,0,1,5,-2.25\n");
    VdiConversion c;
    c.input = input;
    c.output = pdbPathFor(input);
    c.creator = "VARN";
    c.clock = [] { return kTestClock; };  // no separator given: the locale's is taken
    RecordingUi ui;
    ASSERT_TRUE(convertVdiToPdb(c, ui)) << ui.lastText();
    const std::string pdb = readBytes(c.output);
    std::string expected;
    appendVdiDouble(expected, 1.5);
    appendVdiDouble(expected, 1.5);
    appendVdiDouble(expected, 1.0);  // "1" and "5" are two values
    appendVdiDouble(expected, 5.0);
    const std::uint32_t first = be32(pdb, 78);
    EXPECT_EQ(pdb.substr(first), expected);

    // The separator is taken afresh at the start of each conversion.
    ScopedEnv plain("LC_ALL", "C");
    EXPECT_EQ(userDecimalSeparator(), ".");
}

TEST(ConvertLocale, UnknownLocaleFallsBackToPoint) {
    ScopedEnv lc("LC_ALL", "xx_NOWHERE.UTF-8");
    EXPECT_EQ(userDecimalSeparator(), ".");
}

}  // namespace
}  // namespace varn
