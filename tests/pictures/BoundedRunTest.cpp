// The bounded run: each way a work can end, on every system (the Windows build under wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <span>
#include <vector>

#include "BoundedRun.h"
#include "Sanitizers.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace murvex::pictures {
namespace {

int touched = 0;  // what a work changes in its own process only

// The input repeated to fill the result, which must come zeroed.
bool Repeat(std::span<const unsigned char> input, std::span<unsigned char> result) {
    if (input.empty() || std::any_of(result.begin(), result.end(), [](auto b) { return b != 0; }))
        return false;
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = input[i % input.size()];
    touched = 1;
    return true;
}

bool Refuse(std::span<const unsigned char>, std::span<unsigned char> result) {
    std::fill(result.begin(), result.end(), 1);
    touched = 1;
    return false;
}

bool Endless(std::span<const unsigned char>, std::span<unsigned char>) {
    volatile unsigned n = 0;
    for (;;)
        n = n + 1;
}

// 4 GiB in blocks of 16 MiB, each written so that the system has to commit it.
bool Hoard(std::span<const unsigned char>, std::span<unsigned char>) {
    constexpr std::size_t kBlock = std::size_t{16} << 20;
    std::vector<std::unique_ptr<unsigned char[]>> blocks;
    for (int i = 0; i < 256; ++i) {
        blocks.emplace_back(new unsigned char[kBlock]);
        std::memset(blocks.back().get(), i + 1, kBlock);
    }
    return true;
}

bool Crash(std::span<const unsigned char>, std::span<unsigned char>) {
    __builtin_trap();
}

const BoundedWork kRepeat = RegisterBoundedWork("test-repeat", Repeat);
const BoundedWork kRefuse = RegisterBoundedWork("test-refuse", Refuse);
const BoundedWork kEndless = RegisterBoundedWork("test-endless", Endless);
const BoundedWork kHoard = RegisterBoundedWork("test-hoard", Hoard);
const BoundedWork kCrash = RegisterBoundedWork("test-crash", Crash);

// Why the memory bound cannot be tested in this build, or null.
const char* MemoryBoundUntestable() {
#if defined(MURVEX_ADDRESS_SANITIZER)
    return "AddressSanitizer's shadow memory leaves no room for a data limit";
#elif defined(_WIN32)
    // Wine 8 accepts a job's memory limit but keeps nothing of it, and lets the work take all.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = std::size_t{64} << 20;
    const HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    limits = {};
    ::QueryInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits,
                                nullptr);
    ::CloseHandle(job);
    return limits.ProcessMemoryLimit == 0 ? "this system keeps no memory limit on a job (wine)"
                                          : nullptr;
#else
    return nullptr;
#endif
}

TEST(BoundedRun, EachWayAWorkEnds) {
    constexpr BoundedLimits kRoomy{std::chrono::seconds(30), std::size_t{256} << 20};
    constexpr BoundedLimits kShort{std::chrono::milliseconds(300), std::size_t{256} << 20};
    constexpr BoundedLimits kSmall{std::chrono::seconds(30), std::size_t{64} << 20};
    struct Row {
        const char* name;
        const BoundedWork& work;
        BoundedLimits limits;
        BoundedStatus expected;
    };
    const Row rows[] = {
        {"fills the result", kRepeat, kRoomy, BoundedStatus::Done},
        {"returns false", kRefuse, kRoomy, BoundedStatus::Failed},
        {"never ends", kEndless, kShort, BoundedStatus::OverTime},
        {"takes far more memory than allowed", kHoard, kSmall, BoundedStatus::OverMemory},
        {"crashes", kCrash, kRoomy, BoundedStatus::Failed},
    };
    std::mt19937 random(22);
    std::vector<unsigned char> input(1000);
    for (unsigned char& b : input)
        b = static_cast<unsigned char>(random());
    // Not a multiple of the input or of a memory page.
    constexpr std::size_t kResultBytes = 3 * 4096 + 17;
    std::vector<unsigned char> expected;
    while (expected.size() < kResultBytes)
        expected.insert(expected.end(), input.begin(), input.end());
    expected.resize(kResultBytes);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (&row.work == &kHoard && MemoryBoundUntestable()) {
            std::printf("[ SKIPPED  ] %s: %s\n", row.name, MemoryBoundUntestable());
            continue;
        }
        std::vector<unsigned char> result;
        EXPECT_EQ(RunBounded(row.limits, row.work, input, kResultBytes, &result), row.expected);
        if (row.expected == BoundedStatus::Done)
            EXPECT_EQ(result, expected);
        else
            EXPECT_TRUE(result.empty());
        EXPECT_EQ(touched, 0) << "the work ran in the caller's process";
    }
}

}  // namespace
}  // namespace murvex::pictures
