#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace varn {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int decodeStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return -1;
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> out;
    std::size_t i = 0, n = line.size();
    while (i < n && isBlank(line[i])) ++i;
    if (i >= n) return out;
    // The program name: up to a blank, or between quotes.
    std::string program;
    bool quoted = false;
    while (i < n && (quoted || !isBlank(line[i]))) {
        if (line[i] == '"') quoted = !quoted;
        else program += line[i];
        ++i;
    }
    out.push_back(program);
    for (;;) {
        while (i < n && isBlank(line[i])) ++i;
        if (i >= n) break;
        std::string arg;
        bool inQuotes = false;
        while (i < n && (inQuotes || !isBlank(line[i]))) {
            if (line[i] == '\\') {
                std::size_t count = 0;
                while (i < n && line[i] == '\\') ++count, ++i;
                if (i < n && line[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
                continue;
            }
            if (line[i] == '"') {
                if (inQuotes && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                inQuotes = !inQuotes;
                ++i;
                continue;
            }
            arg += line[i++];
        }
        out.push_back(arg);
    }
    return out;
}

std::string quoteArgument(const std::string& argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            // Backslashes count as escapes only before a quote.
            if (c == '"') out.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        out += c;
    }
    out.append(backslashes, '\\');  // before the closing quote
    out += '"';
    return out;
}

Process::Process(Process&& other) noexcept : pid_(other.pid_), exitCode_(other.exitCode_) { other.pid_ = -1; }

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        pid_ = other.pid_;
        exitCode_ = other.exitCode_;
        other.pid_ = -1;
    }
    return *this;
}

Process::~Process() {
    // An ended child is reaped so that it leaves no zombie; a running one is left alone.
    if (pid_ > 0 && !exitCode_) poll();
}

Result<Process> Process::start(const std::string& program, const std::vector<std::string>& args,
                               const ProcessOptions& options) {
    // A pipe closed on exec tells the parent whether exec succeeded.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return makeError(std::string("Cannot start ") + program, errno);
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) env.emplace_back(*e);
    for (const auto& extra : options.extraEnvironment) env.push_back(extra);

    pid_t pid = ::fork();
    if (pid < 0) {
        int code = errno;
        ::close(report[0]);
        ::close(report[1]);
        return makeError("Cannot start " + program, code);
    }
    if (pid == 0) {
        ::close(report[0]);
        if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) {
            int code = errno;
            [[maybe_unused]] auto w = ::write(report[1], &code, sizeof code);
            ::_exit(127);
        }
        int devnull = ::open("/dev/null", O_RDWR);
        if (options.stdinFd >= 0) ::dup2(options.stdinFd, 0);
        else if (!options.inheritStdHandles && devnull >= 0) ::dup2(devnull, 0);
        if (options.stdoutFd >= 0) ::dup2(options.stdoutFd, 1);
        else if (!options.inheritStdHandles && devnull >= 0) ::dup2(devnull, 1);
        if (options.stderrFd >= 0) ::dup2(options.stderrFd, 2);
        else if (!options.inheritStdHandles && devnull >= 0) ::dup2(devnull, 2);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        ::execvpe(program.c_str(), argv.data(), envp.data());
        int code = errno;
        [[maybe_unused]] auto w = ::write(report[1], &code, sizeof code);
        ::_exit(127);
    }
    ::close(report[1]);
    int childError = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    Process p;
    p.pid_ = pid;
    if (got == static_cast<ssize_t>(sizeof childError)) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        p.pid_ = -1;
        return makeError("Cannot start " + program + ": " + std::strerror(childError), childError);
    }
    return p;
}

bool Process::poll() {
    if (exitCode_) return true;
    if (pid_ <= 0) return true;
    int status = 0;
    pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        exitCode_ = decodeStatus(status);
        return true;
    }
    if (r < 0 && errno == ECHILD) {
        exitCode_ = -1;
        return true;
    }
    return false;
}

int Process::wait(const std::function<void()>& pump) {
    while (!poll()) {
        if (!pump) {
            int status = 0;
            pid_t r = ::waitpid(pid_, &status, 0);
            if (r == pid_) exitCode_ = decodeStatus(status);
            else if (r < 0 && errno != EINTR) exitCode_ = -1;
            continue;
        }
        // One slice: return as soon as the child ends, else pump after 200 ms.
        bool ended = false;
        for (int waited = 0; waited < kSliceMs && !ended; waited += 5) {
            ::poll(nullptr, 0, 5);
            ended = poll();
        }
        if (!ended) pump();
    }
    return *exitCode_;
}

void Process::kill() {
    if (pid_ > 0 && !exitCode_) ::kill(pid_, SIGKILL);
}

}  // namespace varn
