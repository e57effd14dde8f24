// The bounded run on Windows, which has no fork: the program starts itself again with a marker
// argument that names the work and a shared memory section (the only handle it inherits), in a
// job object that bounds its memory and is ended at the time limit. In that second process the
// work's registration finds the marker, runs the work on the section and ends the process before
// main.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "BoundedRun.h"

namespace murvex::pictures {
namespace {

// Exit codes of the work's process, far from what a program's main or a crash would end with.
constexpr UINT kChildDone = 0x4D580000;
constexpr UINT kChildFailed = 0x4D580001;
constexpr UINT kChildOutOfMemory = 0x4D580002;
constexpr UINT kChildStopped = 0x4D580003;

constexpr std::wstring_view kMarker = L"--murvex-bounded-run=";

// The start of the section; the input follows it, then the result.
struct SectionHeader {
    std::uint64_t inputBytes;
    std::uint64_t resultBytes;
};

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct ViewUnmapper {
    void operator()(void* view) const { ::UnmapViewOfFile(view); }
};
using View = std::unique_ptr<void, ViewUnmapper>;

// What the marker argument asks of this process; an empty name when it is a process of its own.
struct StartRequest {
    std::string name;
    HANDLE section = nullptr;
};

// The marker is the only argument of a started process: a user's argument that merely contains
// it starts nothing.
StartRequest ReadStartRequest() {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args) return {};
    const std::wstring_view arg = count == 2 ? std::wstring_view(args[1]) : std::wstring_view();
    StartRequest request;
    const std::size_t colon = arg.rfind(L':');
    if (arg.starts_with(kMarker) && colon != std::wstring_view::npos && colon > kMarker.size()) {
        std::string text;
        for (const wchar_t c : arg)
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        std::uintptr_t value = 0;
        const char* end = text.data() + text.size();
        if (std::from_chars(text.data() + colon + 1, end, value).ptr == end) {
            request.name = text.substr(kMarker.size(), colon - kMarker.size());
            request.section = reinterpret_cast<HANDLE>(value);
        }
    }
    ::LocalFree(args);
    return request;
}

// A crash ends the process at once with its exception code: no error report, no debugger.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* e) {
    ::TerminateProcess(::GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Libraries that end the program on a failed allocation call abort, whose message box in a
// window program would wait for a click nobody gives.
void EndOnAbort(int) {
    ::TerminateProcess(::GetCurrentProcess(), kChildFailed);
}

[[noreturn]] void RunStarted(const BoundedWork& work, HANDLE section) {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndOnCrash);
    std::signal(SIGABRT, EndOnAbort);
    UINT code = kChildFailed;
    const View view(::MapViewOfFile(section, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    MEMORY_BASIC_INFORMATION region{};
    if (view && ::VirtualQuery(view.get(), &region, sizeof region) == sizeof region) {
        auto* bytes = static_cast<unsigned char*>(view.get());
        SectionHeader header{};
        std::memcpy(&header, bytes, sizeof header);
        const std::uint64_t room = region.RegionSize - sizeof header;
        if (header.inputBytes <= room && header.resultBytes <= room - header.inputBytes) {
            const std::span<const unsigned char> input(bytes + sizeof header, header.inputBytes);
            const std::span<unsigned char> result(bytes + sizeof header + header.inputBytes,
                                                  header.resultBytes);
            try {
                code = work.function()(input, result) ? kChildDone : kChildFailed;
            } catch (const std::bad_alloc&) {
                code = kChildOutOfMemory;
            } catch (...) {
                code = kChildFailed;
            }
        }
    }
    // No destructors, no atexit handlers, no libraries' detach code: the result is in the
    // section already.
    ::TerminateProcess(::GetCurrentProcess(), code);
    ::ExitProcess(code);
}

std::wstring ThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::size_t PrivateMemoryInUse() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters))
        return 0;
    return counters.PrivateUsage;
}

// A job that ends its processes when it is closed and bounds each one's committed memory, and
// reports to port when that bound is hit.
Handle MakeJob(std::size_t memoryBytes, HANDLE port) {
    Handle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return {};
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY |
                                              JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                              JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    limits.ProcessMemoryLimit = memoryBytes;
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job.get(), port};
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                   sizeof limits) ||
        !::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation,
                                   &association, sizeof association))
        return {};
    return job;
}

// Starts the program suspended, with section as the only handle it inherits and no window.
bool StartSuspended(const BoundedWork& work, HANDLE section, PROCESS_INFORMATION* started) {
    const std::wstring program = ThisProgram();
    if (program.empty()) return false;
    std::wstring commandLine = L"\"" + program + L"\" ";
    commandLine += kMarker;
    for (const char* c = work.name(); *c; ++c)
        commandLine.push_back(static_cast<wchar_t>(*c));
    commandLine += L':';
    commandLine += std::to_wstring(reinterpret_cast<std::uintptr_t>(section));

    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::unique_ptr<unsigned char[]> storage(new (std::nothrow) unsigned char[size]);
    if (!storage) return false;
    const auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.get());
    if (!::InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return false;
    HANDLE inherited[] = {section};
    STARTUPINFOEXW info{};
    info.StartupInfo.cb = sizeof info;
    // No standard handles at all, and no busy cursor for a process the user did not start.
    info.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_FORCEOFFFEEDBACK;
    info.lpAttributeList = attributes;
    const bool ok =
        ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                    sizeof inherited, nullptr, nullptr) &&
        ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT,
                         nullptr, nullptr, &info.StartupInfo, started);
    ::DeleteProcThreadAttributeList(attributes);
    return ok;
}

bool MemoryLimitHit(HANDLE port) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED overlapped = nullptr;
    bool hit = false;
    while (::GetQueuedCompletionStatus(port, &message, &key, &overlapped, 0))
        hit = hit || message == JOB_OBJECT_MSG_PROCESS_MEMORY_LIMIT;
    return hit;
}

}  // namespace

void detail::RunIfStartedFor(const BoundedWork& work) {
    // Read once, by whichever registration comes first.
    static const StartRequest request = ReadStartRequest();
    if (!request.name.empty() && request.name == work.name()) RunStarted(work, request.section);
}

BoundedStatus RunBounded(const BoundedLimits& limits, const BoundedWork& work,
                         std::span<const unsigned char> input, std::size_t resultBytes,
                         std::vector<unsigned char>* result) {
    const std::uint64_t total =
        std::uint64_t{sizeof(SectionHeader)} + input.size() + std::uint64_t{resultBytes};
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    // Fresh pages of a section are zero, so the result starts zeroed.
    const Handle section(::CreateFileMappingW(INVALID_HANDLE_VALUE, &inheritable, PAGE_READWRITE,
                                              static_cast<DWORD>(total >> 32),
                                              static_cast<DWORD>(total), nullptr));
    if (!section) return BoundedStatus::OverMemory;
    const View view(::MapViewOfFile(section.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return BoundedStatus::OverMemory;
    auto* bytes = static_cast<unsigned char*>(view.get());
    const SectionHeader header{input.size(), resultBytes};
    std::memcpy(bytes, &header, sizeof header);
    if (!input.empty()) std::memcpy(bytes + sizeof header, input.data(), input.size());

    // The started process loads what this one has loaded, so the bound is on top of this one's
    // memory, as a forked child's would be.
    const Handle port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!port) return BoundedStatus::Failed;
    const Handle job = MakeJob(PrivateMemoryInUse() + limits.memoryBytes, port.get());
    PROCESS_INFORMATION started{};
    if (!job || !StartSuspended(work, section.get(), &started)) return BoundedStatus::Failed;
    const Handle process(started.hProcess);
    const Handle thread(started.hThread);
    if (!::AssignProcessToJobObject(job.get(), process.get())) {
        ::TerminateProcess(process.get(), kChildStopped);
        return BoundedStatus::Failed;
    }
    ::ResumeThread(thread.get());

    const auto ms = limits.time.count() < 0 ? 0 : limits.time.count();
    const DWORD wait = ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
    BoundedStatus outcome = BoundedStatus::Failed;
    if (::WaitForSingleObject(process.get(), wait) != WAIT_OBJECT_0) {
        ::TerminateJobObject(job.get(), kChildStopped);
        ::WaitForSingleObject(process.get(), INFINITE);
        outcome = BoundedStatus::OverTime;
    } else {
        DWORD code = kChildFailed;
        ::GetExitCodeProcess(process.get(), &code);
        outcome = code == kChildDone          ? BoundedStatus::Done
                  : code == kChildOutOfMemory ? BoundedStatus::OverMemory
                                              : BoundedStatus::Failed;
        // Libraries that do not check their allocations crash once the bound is hit.
        if (outcome == BoundedStatus::Failed && MemoryLimitHit(port.get()))
            outcome = BoundedStatus::OverMemory;
    }
    if (outcome == BoundedStatus::Done && result) {
        const unsigned char* out = bytes + sizeof header + input.size();
        result->assign(out, out + resultBytes);
    }
    return outcome;
}

}  // namespace murvex::pictures
