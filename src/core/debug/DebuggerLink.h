// The message link between the IDE and the desktop runtime: two pipes, one
// per direction, each message one write of a 32-bit code and its payload.
// The IDE creates the pipes once and hands the runtime's ends to each runtime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace varn {

class Ui;

class DebuggerLink {
public:
    enum class Role { Closed = 0, Runtime = 1, Ide = 2 };

    // How often a waiting receive looks whether the peer is still there.
    static constexpr int kPeerCheckMs = 50;
    // How long a send waits for room in a full pipe before it gives up.
    static constexpr int kSendTimeoutMs = 2000;

    static constexpr const char* kServerPipeFailed = "Could not create the server pipe [%ld]";
    static constexpr const char* kClientPipeFailed = "Could not create the client pipe [%ld]";
    static constexpr const char* kSendFailed = "IPM send failed [%lu]";
    static constexpr const char* kPeekFailed = "Could not read pipe information [%lu]";
    static constexpr const char* kReadFailed = "Could not read mailslot data [%lu]";
    static constexpr const char* kProgramEnded = "The program being debugged has ended.";
    static constexpr const char* kTruncated = "The debugger received an incomplete message.";

    DebuggerLink() = default;
    ~DebuggerLink();
    DebuggerLink(const DebuggerLink&) = delete;
    DebuggerLink& operator=(const DebuggerLink&) = delete;

    // IDE role: creates pipe A (runtime -> IDE) and pipe B (IDE -> runtime)
    // once. The IDE's ends are closed on exec; its write end does not block.
    bool openIde(Ui& ui);
    // Runtime role over the given descriptors (normally 0 and 1).
    bool openRuntime(Ui& ui, int readFd, int writeFd);

    bool isOpen() const { return role_ != Role::Closed; }
    Role role() const { return role_; }

    // The ends a runtime gets as its standard input and output (-1 unless IDE role).
    int runtimeInputFd() const;
    int runtimeOutputFd() const;

    // Code of the last message received, or of the message about to be sent.
    std::uint32_t code = 0;

    // Sends `code` and `length` bytes of payload (length modulo 65536; no
    // payload when `payload` is null) as one block.
    bool send(const std::uint8_t* payload, std::size_t length);
    bool send(std::uint32_t messageCode, const std::vector<std::uint8_t>& payload);

    // Receives one message: returns its code (also in `code`), 1 when nothing
    // is waiting and `wait` is false, 0 on failure or when the peer is gone.
    std::uint32_t receive(bool wait);

    const std::uint8_t* payload() const { return payload_; }
    std::uint16_t payloadLength() const { return payloadLength_; }
    std::size_t bufferCapacity() const { return buffer_.size(); }

    // Asked while a receive waits: false ends the wait. IDE role: "the
    // runtime process is still running". Runtime role: in addition to the
    // hang-up of the read end, which always means the IDE is gone.
    void setPeerAlive(std::function<bool()> alive) { peerAlive_ = std::move(alive); }

    // Drops whatever bytes are waiting in either direction: replies an
    // earlier runtime left, and requests it never read.
    void discardPending();

private:
    int readFd() const;
    int writeFd() const;
    bool peerAlive() const;
    // Bytes waiting on the read end, or -1 after reporting the failure.
    long bytesWaiting();
    // Waits until bytes arrive (true) or the peer is gone (false).
    bool waitForBytes();
    // Reads up to `n` waiting bytes into the buffer after the first `total`.
    bool readAvailable(std::size_t n, std::size_t& total);
    bool writeAll(const std::uint8_t* data, std::size_t length);
    void closeAll();

    Ui* ui_ = nullptr;
    Role role_ = Role::Closed;
    int pipeARead_ = -1;
    int pipeAWrite_ = -1;
    int pipeBRead_ = -1;
    int pipeBWrite_ = -1;
    bool ownsFds_ = false;
    std::vector<std::uint8_t> buffer_;  // grows, never shrinks
    const std::uint8_t* payload_ = nullptr;
    std::uint16_t payloadLength_ = 0;
    std::function<bool()> peerAlive_;
};

}  // namespace varn
