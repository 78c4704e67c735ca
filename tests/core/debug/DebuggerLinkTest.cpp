// The link over real pipes: an IDE-role link and a runtime-role link on the
// runtime's ends, message framing, what a receive sees with and without
// waiting, and the ways a receive ends when the other side is gone.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/RecordingUi.h"
#include "debug/DebugMessage.h"
#include "debug/DebuggerLink.h"

using namespace varn;

namespace {

struct LinkPair {
    RecordingUi ideUi;
    RecordingUi runtimeUi;
    DebuggerLink ide;
    DebuggerLink runtime;
    LinkPair() {
        EXPECT_TRUE(ide.openIde(ideUi));
        EXPECT_TRUE(runtime.openRuntime(runtimeUi, ide.runtimeInputFd(), ide.runtimeOutputFd()));
    }
};

std::vector<std::uint8_t> payloadOf(const DebuggerLink& link) {
    return {link.payload(), link.payload() + link.payloadLength()};
}

}  // namespace

TEST(DebuggerLink, OpensOnceWithTheRuntimeEndsExposed) {
    RecordingUi ui;
    DebuggerLink link;
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.runtimeInputFd(), -1);
    ASSERT_TRUE(link.openIde(ui));
    EXPECT_EQ(link.role(), DebuggerLink::Role::Ide);
    const int in = link.runtimeInputFd();
    const int out = link.runtimeOutputFd();
    EXPECT_GE(in, 0);
    EXPECT_GE(out, 0);
    // The IDE's own descriptors are not inherited by the programs it starts.
    EXPECT_TRUE(::fcntl(in, F_GETFD) & FD_CLOEXEC);
    EXPECT_TRUE(::fcntl(out, F_GETFD) & FD_CLOEXEC);
    ASSERT_TRUE(link.openIde(ui));
    EXPECT_EQ(link.runtimeInputFd(), in);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DebuggerLink, MessagesCrossInBothDirections) {
    LinkPair p;
    struct Case {
        std::uint32_t code;
        Payload payload;
    };
    const std::vector<Case> cases = {
        {DebugCode::kStepInto, {}},
        {DebugCode::kStopped, buildLineAndPath(5, "/p/main.vsl")},
        {0x12345678u, buildText("value")},
        {DebugCode::kFileList, buildTextList(std::vector<std::string>(300, "/some/long/path/to/a/file.vsl"))},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(p.ide.send(c.code, c.payload));
        EXPECT_EQ(p.runtime.receive(true), c.code);
        EXPECT_EQ(p.runtime.code, c.code);
        EXPECT_EQ(payloadOf(p.runtime), c.payload);
        ASSERT_TRUE(p.runtime.send(c.code, c.payload));
        EXPECT_EQ(p.ide.receive(false), c.code);
        EXPECT_EQ(payloadOf(p.ide), c.payload);
    }
    EXPECT_TRUE(p.ideUi.messages.empty());
}

TEST(DebuggerLink, SendUsesTheCodeFieldAndANullPayloadSendsNone) {
    LinkPair p;
    const std::uint8_t data[] = {1, 2, 3};
    p.ide.code = 7;
    ASSERT_TRUE(p.ide.send(nullptr, 3));
    EXPECT_EQ(p.runtime.receive(true), 7u);
    EXPECT_EQ(p.runtime.payloadLength(), 0);
    p.ide.code = 11;
    ASSERT_TRUE(p.ide.send(data, 65536 + 2));  // the length is taken modulo 65536
    EXPECT_EQ(p.runtime.receive(true), 11u);
    EXPECT_EQ(payloadOf(p.runtime), (Payload{1, 2}));
}

TEST(DebuggerLink, TwoMessagesBeforeOneReadAreOneMessage) {
    LinkPair p;
    ASSERT_TRUE(p.runtime.send(DebugCode::kWatchValue, buildText("1")));
    ASSERT_TRUE(p.runtime.send(DebugCode::kEnded, {}));
    EXPECT_EQ(p.ide.receive(true), DebugCode::kWatchValue);
    EXPECT_EQ(payloadOf(p.ide), (Payload{'1', 0, 14, 0, 0, 0}));
    EXPECT_EQ(p.ide.receive(false), DebugCode::kNothing);
}

TEST(DebuggerLink, ReceiveWithoutWaitOnAnEmptyPipeLeavesThePayload) {
    LinkPair p;
    ASSERT_TRUE(p.runtime.send(DebugCode::kWatchValue, buildText("abc")));
    ASSERT_EQ(p.ide.receive(false), DebugCode::kWatchValue);
    const std::uint8_t* before = p.ide.payload();
    EXPECT_EQ(p.ide.receive(false), DebugCode::kNothing);
    EXPECT_EQ(p.ide.code, DebugCode::kNothing);
    EXPECT_EQ(p.ide.payload(), before);
    EXPECT_EQ(payloadOf(p.ide), buildText("abc"));
}

TEST(DebuggerLink, BufferGrowsAndNeverShrinks) {
    LinkPair p;
    ASSERT_TRUE(p.runtime.send(1000, Payload(5000, 'x')));
    ASSERT_EQ(p.ide.receive(true), 1000u);
    EXPECT_EQ(p.ide.payloadLength(), 5000);
    const std::size_t capacity = p.ide.bufferCapacity();
    EXPECT_GE(capacity, 5004u);
    ASSERT_TRUE(p.runtime.send(1001, Payload(3, 'y')));
    ASSERT_EQ(p.ide.receive(true), 1001u);
    EXPECT_EQ(p.ide.bufferCapacity(), capacity);
}

TEST(DebuggerLink, DiscardPendingDropsStaleBytes) {
    LinkPair p;
    ASSERT_TRUE(p.runtime.send(DebugCode::kStopped, buildLineAndPath(1, "/old.vsl")));
    p.ide.discardPending();
    EXPECT_EQ(p.ide.receive(false), DebugCode::kNothing);
}

TEST(DebuggerLink, WaitEndsWhenTheRuntimeIsGone) {
    LinkPair p;
    std::atomic<bool> alive{true};
    p.ide.setPeerAlive([&] { return alive.load(); });
    std::thread killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        alive = false;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(p.ide.receive(true), 0u);
    killer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(p.ideUi.lastText(), DebuggerLink::kProgramEnded);
}

TEST(DebuggerLink, LastWordsOfAnEndedRuntimeAreStillRead) {
    LinkPair p;
    p.ide.setPeerAlive([] { return false; });
    ASSERT_TRUE(p.runtime.send(DebugCode::kEnded, {}));
    EXPECT_EQ(p.ide.receive(true), DebugCode::kEnded);
    EXPECT_TRUE(p.ideUi.messages.empty());
}

TEST(DebuggerLink, RuntimeSeesTheIdeGoAsHangUp) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    RecordingUi ui;
    DebuggerLink runtime;
    runtime.openRuntime(ui, fds[0], STDOUT_FILENO);
    ::close(fds[1]);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(runtime.receive(true), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(ui.messages.empty());  // the runtime just ends
    ::close(fds[0]);
}

TEST(DebuggerLink, FailuresAreReportedWithTheirTexts) {
    {
        // Fewer bytes than a code: dropped with a message, no garbage code.
        LinkPair p;
        const std::uint8_t two[] = {4, 0};
        ASSERT_EQ(::write(p.ide.runtimeOutputFd(), two, 2), 2);
        EXPECT_EQ(p.ide.receive(false), 0u);
        EXPECT_EQ(p.ideUi.lastText(), DebuggerLink::kTruncated);
        EXPECT_EQ(p.ide.receive(false), DebugCode::kNothing);
    }
    {
        // A runtime that stops reading: the send fails instead of blocking.
        LinkPair p;
        p.ide.setPeerAlive([] { return false; });
        const Payload big(60000, 'z');
        bool failed = false;
        for (int i = 0; i < 40 && !failed; ++i) failed = !p.ide.send(DebugCode::kWatchValues, big);
        EXPECT_TRUE(failed);
        EXPECT_EQ(p.ideUi.lastText(), "IPM send failed [11]");
    }
    {
        RecordingUi ui;
        DebuggerLink closed;
        EXPECT_FALSE(closed.send(5, {}));
        EXPECT_EQ(closed.receive(false), 0u);
    }
}
