// Child processes: Windows command-line splitting, start, wait with a pump,
// poll, exit codes and failures to start.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Process.h"

using namespace varn;

TEST(Process, SplitCommandLine) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    } cases[] = {
        {R"("C:\Program Files\varn_c.exe" "a b.opt")", {R"(C:\Program Files\varn_c.exe)", "a b.opt"}},
        {R"(prog a\b "c\\" d)", {"prog", R"(a\b)", R"(c\)", "d"}},
        {R"(prog \"x\" "y""z")", {"prog", R"("x")", R"(y"z)"}},
        {R"(prog a\\\"b  "" 	end)", {"prog", R"(a\"b)", "", "end"}},
        {R"(C:\dir\prog.exe x)", {R"(C:\dir\prog.exe)", "x"}},
        {"   ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line;
    // A quoted argument comes back whole, whatever quotes and backslashes it holds.
    for (const std::string arg : {"", "a b", R"(Demo" -i "/etc/passwd)", R"(c:\dir\)", R"(a\"b\)", "\\"}) {
        EXPECT_EQ(splitCommandLine("prog " + quoteArgument(arg) + " next"), (std::vector<std::string>{"prog", arg, "next"}))
            << quoteArgument(arg);
    }
}

TEST(Process, ExitCodesWorkingFolderAndPump) {
    test::TempDir tmp;
    ProcessOptions options;
    options.workingFolder = tmp.path();
    auto p = Process::start("/bin/sh", {"-c", "pwd > where.txt; sleep 0.5; exit 7"}, options);
    ASSERT_TRUE(p.ok()) << p.error().message;
    int pumps = 0;
    EXPECT_EQ(p->wait([&] { ++pumps; }), 7);
    EXPECT_GE(pumps, 1);
    EXPECT_LE(pumps, 4);
    EXPECT_EQ(test::readBytes(tmp.file("where.txt")), tmp.path() + "\n");

    auto killed = Process::start("/bin/sh", {"-c", "kill -9 $$"});
    ASSERT_TRUE(killed.ok());
    EXPECT_EQ(killed->wait(), -1);
}

TEST(Process, PollDoesNotWait) {
    auto p = Process::start("/bin/sh", {"-c", "sleep 0.3"});
    ASSERT_TRUE(p.ok());
    EXPECT_FALSE(p->poll());
    EXPECT_TRUE(p->running());
    EXPECT_EQ(p->wait(), 0);
    EXPECT_TRUE(p->poll());
    EXPECT_EQ(p->exitCode(), 0);
}

TEST(Process, FailuresToStartCarryTheSystemError) {
    auto missing = Process::start("/nonexistent/tool", {});
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, ENOENT);
    ProcessOptions bad;
    bad.workingFolder = "/nonexistent/folder";
    auto noFolder = Process::start("/bin/true", {}, bad);
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.error().code, ENOENT);
}
