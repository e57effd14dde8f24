// Running a piece of work that a hostile file can make endless or huge (a PDF page above all)
// with a bound on its time and memory, so that the caller always gets control back.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace murvex::pictures {

enum class BoundedStatus {
    Done,        // the work finished and returned true; the result is complete
    Failed,      // the work returned false, or ended in an unexpected way
    OverTime,    // it was stopped at the time limit
    OverMemory,  // it needed more memory than allowed
};

struct BoundedLimits {
    std::chrono::milliseconds time{4000};
    std::size_t memoryBytes = 256u * 1024u * 1024u;  // on top of what the caller already uses
};

// Runs work with a result buffer of resultBytes (zeroed) that it fills, within the limits. The
// work runs isolated from the caller: nothing it changes other than the result buffer is seen
// afterwards, and it must not depend on other threads. On Done, *result holds the buffer.
BoundedStatus RunBounded(const BoundedLimits& limits, std::size_t resultBytes,
                         const std::function<bool(std::span<unsigned char>)>& work,
                         std::vector<unsigned char>* result);

}  // namespace murvex::pictures
