// The one atomic write every file kind goes through: the failing call's own
// error, no temporaries left by failures or by a writer killed mid-save, and
// stale temporaries of a file removed when it is saved again.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "InjectedFailure.h"
#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "image/ImageBlockWriter.h"
#include "platform/FileSystem.h"

using namespace varn;

namespace {

std::string listing(const std::string& folder) {
    return test::runCommand("ls -A " + test::shellQuote(folder)).out;
}

// The id of a process that has ended.
pid_t endedPid() {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

}  // namespace

TEST(AtomicWrite, FailingStepReportsItsOwnErrorAndLeavesTheFileAsItWas) {
    struct Case {
        const char* step;
        int code;
    } cases[] = {{"create", EACCES}, {"write", ENOSPC}, {"fsync", EIO}, {"rename", EXDEV}, {"syncFolder", EIO}};
    for (const auto& c : cases) {
        for (bool existing : {false, true}) {
            test::TempDir tmp;
            const std::string f = tmp.file("Demo.vpj");
            if (existing) test::writeBytes(f, "old");
            Status s;
            {
                test::InjectedFailure fail(c.step, c.code);
                s = fsys::writeFileAtomic(f, "new contents");
            }
            const std::string what = std::string(c.step) + (existing ? " over a file" : " of a new file");
            ASSERT_FALSE(s.ok()) << what;
            EXPECT_EQ(s.error().code, c.code) << what;
            EXPECT_NE(s.error().message.find(std::strerror(c.code)), std::string::npos) << what << ": " << s.error().message;
            // Only a failing folder sync comes after the rename.
            const bool renamed = std::string(c.step) == "syncFolder";
            EXPECT_EQ(listing(tmp.path()), existing || renamed ? "Demo.vpj\n" : "") << what;
            if (existing || renamed) {
                EXPECT_EQ(test::readBytes(f), renamed ? "new contents" : "old") << what;
            }
        }
    }
}

TEST(AtomicWrite, ImageFilesTellCreatingFromWriting) {
    for (auto [step, text] : {std::pair{"create", "Can not create file"}, std::pair{"fsync", "File write error"}}) {
        test::TempDir tmp;
        RecordingUi ui;
        test::InjectedFailure fail(step, ENOSPC);
        Status s = writeImageFile(tmp.file("pic.vbm"), {}, ui);
        EXPECT_EQ(s.error().code, ENOSPC) << step;
        EXPECT_EQ(ui.texts(), std::vector<std::string>{text}) << step;
    }
}

TEST(AtomicWrite, StaleTemporariesOfTheFileAreRemovedByItsNextSave) {
    test::TempDir tmp;
    const std::string dead = std::to_string(endedPid());
    const std::string alive = std::to_string(::getppid());
    struct Case {
        std::string name;
        bool removed;
    } cases[] = {
        {".Demo.vpj.~" + dead + ".a1B2c3.tmp", true},   // this writer's, writer gone
        {"Demo.vpj.~" + dead + ".0.tmp", true},         // the image writer's former name
        {".Demo.vpj.Xy12z9", true},                     // the former hidden name
        {".Demo.vpj.~" + alive + ".a1B2c3.tmp", false},  // a save still running elsewhere
        {".Other.vpj.~" + dead + ".a1B2c3.tmp", false},  // another file's
        {".Demo.vpj.backup1", false},
        {"Demo.vpj.bak", false},
        {"Demo.vpj.~" + dead + ".x.tmp", false},
    };
    for (const auto& c : cases) test::writeBytes(tmp.file(c.name), "x");
    ASSERT_TRUE(fsys::writeFileAtomic(tmp.file("Demo.vpj"), "saved").ok());
    for (const auto& c : cases) EXPECT_EQ(fsys::exists(tmp.file(c.name)), !c.removed) << c.name;
}

TEST(AtomicWrite, WriterKilledAtRandomLeavesWholeFileAndNoTemporariesAfterTheNextSave) {
    test::TempDir tmp;
    const std::string f = tmp.file("Demo.vpj");
    const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
    ASSERT_TRUE(fsys::writeFileAtomic(f, a).ok());
    std::mt19937 random(20261206);
    for (int round = 0; round < 20; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) (void)fsys::writeFileAtomic(f, i % 2 ? a : b);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string seen = test::readBytes(f);
        EXPECT_TRUE(seen == a || seen == b) << "round " << round << ": a file of " << seen.size() << " bytes";
        ASSERT_TRUE(fsys::writeFileAtomic(f, a).ok());
        EXPECT_EQ(listing(tmp.path()), "Demo.vpj\n") << "round " << round;
    }
}
