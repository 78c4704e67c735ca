#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "TestSupport.h"
#include "app/JournalWriter.h"
#include "app/RecoveryJournal.h"
#include "platform/FileSystem.h"

using namespace varn;

namespace {

// Bytes as each kind's writer makes them: CR LF lines, NUL bytes, high bytes.
const std::string kSource = "function f();\r\n  x = \"\xe9\";\r\nend;\r\n";
const std::string kImage = std::string("VBM\0\x01\x02\xff", 7) + std::string(300, '\x7f');

}  // namespace

TEST(RecoveryJournal, EntriesOfAnEndedIdeRoundTripAndAreDiscarded) {
    test::TempDir tmp;
    const std::string folder = tmp.file("recovery");
    const std::string original = tmp.file("Demo.vsl");
    test::writeBytes(original, "old");
    RecoveryJournal crashed(folder, test::endedProcessId(), 12345);
    const std::string sourceKey = crashed.keyFor(original);
    ASSERT_TRUE(crashed.write(sourceKey, JournalKind::Source, original, "", kSource, 100));
    ASSERT_TRUE(crashed.write(crashed.keyFor("", 1), JournalKind::Image, "", "Untitled1", kImage, 200));
    // A newer copy of the same document replaces the older one.
    ASSERT_TRUE(crashed.write(sourceKey, JournalKind::Source, original, "", kSource + "more", 150));

    RecoveryJournal next(folder);
    auto entries = next.orphaned();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name(), original);
    EXPECT_EQ(entries[0].info.kind, JournalKind::Source);
    EXPECT_EQ(entries[0].info.time, 150);
    EXPECT_FALSE(entries[0].damaged);
    EXPECT_FALSE(entries[0].originalChanged);
    EXPECT_EQ(entries[1].name(), "Untitled1");
    EXPECT_EQ(entries[1].info.kind, JournalKind::Image);
    EXPECT_EQ(*next.read(entries[0]), kSource + "more");
    EXPECT_EQ(*next.read(entries[1]), kImage);

    ASSERT_TRUE(next.discard(entries[0]));
    ASSERT_TRUE(next.discard(entries[1]));
    EXPECT_TRUE(next.orphaned().empty());
    EXPECT_EQ(test::runCommand("ls -A " + test::shellQuote(folder)).out, "");
}

TEST(RecoveryJournal, EntriesOfRunningIdesAreNeverOffered) {
    test::TempDir tmp;
    const std::string folder = tmp.file("recovery");
    RecoveryJournal self(folder);
    ASSERT_TRUE(self.write(self.keyFor("/x/own.vsl"), JournalKind::Source, "/x/own.vsl", "", "a", 1));
    // Another IDE that is still running (the test's parent process, with its own start time).
    const pid_t parent = ::getppid();
    RecoveryJournal other(folder, parent, RecoveryJournal::processStartTime(parent));
    ASSERT_TRUE(other.write(other.keyFor("/x/other.vsl"), JournalKind::Form, "/x/other.vsl", "", "b", 2));
    // The same pid with another start time is a later process that reused the
    // number: the IDE that wrote the entry has ended.
    RecoveryJournal reused(folder, parent, RecoveryJournal::processStartTime(parent) + 1);
    ASSERT_TRUE(reused.write("reused", JournalKind::MenuBars, "/x/menus.ini", "", "c", 3));

    // An IDE that was killed but not yet waited for by its parent has ended too.
    const pid_t zombie = ::fork();
    if (zombie == 0) ::_exit(0);
    const std::string isZombie = "grep -q '^State:.Z' /proc/" + std::to_string(zombie) + "/status";
    for (int tries = 0; tries < 500 && test::runCommand(isZombie).status != 0; ++tries) ::usleep(10000);
    RecoveryJournal killed(folder, zombie, RecoveryJournal::processStartTime(zombie));
    ASSERT_TRUE(killed.write("killed", JournalKind::Source, "/x/killed.vsl", "", "d", 4));

    RecoveryJournal reader(folder);
    auto entries = reader.orphaned();
    ::waitpid(zombie, nullptr, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].info.originalPath, "/x/menus.ini");
    EXPECT_EQ(entries[1].info.originalPath, "/x/killed.vsl");
    // Two keys of two IDEs for the same file never meet.
    EXPECT_NE(self.keyFor("/x/a.vsl"), other.keyFor("/x/a.vsl"));
    EXPECT_EQ(self.keyFor("/x/a.vsl"), self.keyFor("/x/a.vsl"));
    // Saving removes the entry.
    ASSERT_TRUE(self.remove(self.keyFor("/x/own.vsl")));
    EXPECT_FALSE(fsys::exists(tmp.file("recovery/" + self.keyFor("/x/own.vsl") + ".data")));
}

TEST(RecoveryJournal, DamagedEntriesAreListedAsDamagedAndCanOnlyBeDiscarded) {
    struct Case {
        const char* what;
        std::function<void(const std::string& data, const std::string& index)> damage;
    } cases[] = {
        {"truncated data", [](auto& d, auto&) { test::writeBytes(d, "func"); }},
        {"one byte changed", [](auto& d, auto&) { test::writeBytes(d, "function f();\r\nend;\r\nX"); }},
        {"no data", [](auto& d, auto&) { fsys::removeFile(d); }},
        {"index cut short",
         [](auto&, auto& i) { test::writeBytes(i, test::readBytes(i).substr(0, test::readBytes(i).size() / 2)); }},
        {"index of garbage", [](auto&, auto& i) { test::writeBytes(i, std::string("\0\xff\nkind=", 8)); }},
        {"unknown kind",
         [](auto&, auto& i) {
             std::string t = test::readBytes(i);
             test::writeBytes(i, t.replace(t.find("kind=Source"), 11, "kind=Sound"));
         }},
        {"empty index", [](auto&, auto& i) { test::writeBytes(i, ""); }},
        // A NUL inside a number once ended the number there and the rest was taken.
        {"byte after a number",
         [](auto&, auto& i) {
             std::string t = test::readBytes(i);
             test::writeBytes(i, t.insert(t.find("\nsize="), std::string("\0x", 2)));
         }},
        {"time beyond the signed range",
         [](auto&, auto& i) {
             std::string t = test::readBytes(i);
             const std::size_t at = t.find("time=") + 5;
             test::writeBytes(i, t.replace(at, t.find('\n', at) - at, "12222222222222222152"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir tmp;
        const std::string folder = tmp.file("recovery");
        RecoveryJournal crashed(folder, test::endedProcessId(), 0);
        const std::string key = crashed.keyFor("/p/Demo.vsl");
        ASSERT_TRUE(crashed.write(key, JournalKind::Source, "/p/Demo.vsl", "", "function f();\r\nend;\r\n", 5));
        c.damage(folder + "/" + key + ".data", folder + "/" + key + ".index");

        RecoveryJournal next(folder);
        auto entries = next.orphaned();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_TRUE(entries[0].damaged);
        EXPECT_FALSE(next.read(entries[0]));
        ASSERT_TRUE(next.discard(entries[0]));
        EXPECT_TRUE(next.orphaned().empty());
    }
}

TEST(RecoveryJournal, AnOriginalChangedAfterTheEntryIsFlagged) {
    test::TempDir tmp;
    const std::string original = tmp.file("Demo.vff");
    test::writeBytes(original, "v1");
    RecoveryJournal crashed(tmp.file("recovery"), test::endedProcessId(), 0);
    ASSERT_TRUE(crashed.write(crashed.keyFor(original), JournalKind::Form, original, "", "edited", 1));
    RecoveryJournal next(tmp.file("recovery"));
    EXPECT_FALSE(next.orphaned().at(0).originalChanged);
    ASSERT_EQ(test::runCommand("touch -d '2001-01-01' " + test::shellQuote(original)).status, 0);
    EXPECT_TRUE(next.orphaned().at(0).originalChanged);
    fsys::removeFile(original);
    EXPECT_TRUE(next.orphaned().at(0).originalChanged);
}

TEST(JournalSchedule, WritesAfterAPauseOrAtTheLatestAfterTheMaximumAgeAtMostOnceASecond) {
    using ms = std::chrono::milliseconds;
    const JournalSchedule::Clock::time_point t0{};
    JournalSchedule s;
    EXPECT_FALSE(s.nextDue());
    s.changed("a", t0);
    EXPECT_TRUE(s.due(t0 + ms(999)).empty());
    EXPECT_EQ(s.due(t0 + ms(1000)), std::vector<std::string>{"a"});
    // Typing without a pause: due 1.5 s after the first unwritten change.
    for (int t = 0; t <= 1400; t += 200) s.changed("b", t0 + ms(t));
    EXPECT_EQ(*s.nextDue(), t0 + ms(1000));  // "a" first
    s.written("a", t0 + ms(1000));
    EXPECT_EQ(*s.nextDue(), t0 + ms(1500));
    s.written("b", t0 + ms(1500));
    // A change right after a write waits for the one-second interval.
    s.changed("a", t0 + ms(1100));
    EXPECT_TRUE(s.due(t0 + ms(1999)).empty());
    EXPECT_EQ(s.due(t0 + ms(2100)), std::vector<std::string>{"a"});
    s.forget("a");
    EXPECT_FALSE(s.nextDue());
}

TEST(JournalWriter, KeepsTheNewestCopyAndStopsOnceAfterAFailure) {
    test::TempDir tmp;
    RecoveryJournal journal(tmp.file("recovery"));
    int failures = 0;
    std::string message;
    {
        JournalWriter writer(journal, [&](const std::string& m) {
            ++failures;
            message = m;
        });
        for (int i = 0; i < 200; ++i)
            writer.submit({"k", JournalKind::Source, "/p/a.vsl", "", "copy " + std::to_string(i)});
        writer.flush();
        EXPECT_EQ(test::readBytes(tmp.file("recovery/k.data")), "copy 199");
        writer.remove("k");
        writer.flush();
        EXPECT_FALSE(fsys::exists(tmp.file("recovery/k.data")));
        EXPECT_FALSE(fsys::exists(tmp.file("recovery/k.index")));
    }
    // A journal folder that cannot be made (a file stands in its place): one report, then silence.
    test::writeBytes(tmp.file("blocked"), "");
    RecoveryJournal blocked(tmp.file("blocked/recovery"));
    JournalWriter writer(blocked, [&](const std::string& m) {
        ++failures;
        message = m;
    });
    for (int i = 0; i < 5; ++i) {
        writer.submit({"k" + std::to_string(i), JournalKind::Form, "", "Untitled", "x"});
        writer.flush();
    }
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(writer.stopped());
}
