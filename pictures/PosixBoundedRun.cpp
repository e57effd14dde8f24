// The bounded run on POSIX systems: the work runs in a forked child process under a data-size
// limit, writes into memory shared with the parent, and is killed at the time limit.
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <thread>

#include "BoundedRun.h"

namespace murvex::pictures {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Child exit codes.
constexpr int kChildDone = 0;
constexpr int kChildFailed = 1;
constexpr int kChildOutOfMemory = 2;

// The process's present data size in bytes (its writable private memory: heap, anonymous
// mappings, stacks), 0 when it cannot be read. The data limit counts the same; unlike the
// address-space limit it does not count the address space that threads and allocators only
// reserve.
std::size_t DataInUse() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    std::size_t kilobytes = 0;
    constexpr std::string_view kKey = "VmData:";
    while (std::fgets(line, sizeof line, f)) {
        std::string_view text(line);
        if (!text.starts_with(kKey)) continue;
        text.remove_prefix(std::min(text.find_first_not_of(" \t", kKey.size()), text.size()));
        std::from_chars(text.data(), text.data() + text.size(), kilobytes);
        break;
    }
    std::fclose(f);
    return static_cast<std::size_t>(kilobytes) * 1024;
}

[[noreturn]] void RunChild(const BoundedLimits& limits, const BoundedWork& work,
                           std::span<const unsigned char> input, std::span<unsigned char> shared) {
    // Libraries complain on stderr when an allocation fails; the caller reports the outcome.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 2);
    // AddressSanitizer maps terabytes of shadow memory as it goes, so under it a data limit only
    // makes the sanitizer itself fail; such a build keeps the time bound alone.
    if (!kAddressSanitizer) {
        const std::size_t inUse = DataInUse();
        if (inUse > 0) {
            const rlim_t cap = static_cast<rlim_t>(inUse + limits.memoryBytes);
            const rlimit data{cap, cap};
            setrlimit(RLIMIT_DATA, &data);
        }
    }
    // A second bound on its own clock, should the parent's kill come late.
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits.time).count() + 2;
    const rlimit cpu{static_cast<rlim_t>(seconds), static_cast<rlim_t>(seconds)};
    setrlimit(RLIMIT_CPU, &cpu);
    int code = kChildFailed;
    try {
        code = work.function()(input, shared) ? kChildDone : kChildFailed;
    } catch (const std::bad_alloc&) {
        code = kChildOutOfMemory;
    } catch (...) {
        code = kChildFailed;
    }
    // No destructors, no atexit handlers of the parent's libraries.
    _exit(code);
}

}  // namespace

// The forked child has the work already; nothing is started by name.
void detail::RunIfStartedFor(const BoundedWork&) {}

BoundedStatus RunBounded(const BoundedLimits& limits, const BoundedWork& work,
                         std::span<const unsigned char> input, std::size_t resultBytes,
                         std::vector<unsigned char>* result) {
    const std::size_t mapped = resultBytes > 0 ? resultBytes : 1;
    void* memory = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return BoundedStatus::OverMemory;
    const std::span<unsigned char> shared(static_cast<unsigned char*>(memory), resultBytes);

    std::fflush(nullptr);  // buffered output would otherwise be written twice
    const pid_t child = fork();
    if (child < 0) {
        munmap(memory, mapped);
        return BoundedStatus::Failed;
    }
    if (child == 0) RunChild(limits, work, input, shared);

    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    int status = 0;
    bool ended = false;
    while (!ended) {
        const pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child || (r < 0 && errno != EINTR)) {
            ended = r == child;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    BoundedStatus outcome = BoundedStatus::Failed;
    if (!ended) {
        kill(child, SIGKILL);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        outcome = BoundedStatus::OverTime;
    } else if (WIFEXITED(status)) {
        switch (WEXITSTATUS(status)) {
            case kChildDone:
                outcome = BoundedStatus::Done;
                break;
            case kChildOutOfMemory:
                outcome = BoundedStatus::OverMemory;
                break;
            default:
                outcome = BoundedStatus::Failed;
                break;
        }
    } else if (WIFSIGNALED(status)) {
        // Libraries that do not check their allocations crash or abort once the limit is hit;
        // the CPU limit ends with SIGXCPU.
        const int sig = WTERMSIG(status);
        outcome = sig == SIGXCPU || sig == SIGKILL                    ? BoundedStatus::OverTime
                  : sig == SIGABRT || sig == SIGSEGV || sig == SIGBUS ? BoundedStatus::OverMemory
                                                                      : BoundedStatus::Failed;
    }
    if (outcome == BoundedStatus::Done && result) result->assign(shared.begin(), shared.end());
    munmap(memory, mapped);
    return outcome;
}

}  // namespace murvex::pictures
