// Running a piece of work that a hostile file can make endless or huge (a PDF page above all)
// with a bound on its time and memory, so that the caller always gets control back.
#pragma once

#include <chrono>
#include <cstddef>
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

// A work reads its input and fills its result buffer; true when the result is complete.
using BoundedWorkFunction = bool (*)(std::span<const unsigned char> input,
                                     std::span<unsigned char> result);

// A work known by name, so that a process of its own can find it: where there is no fork, the
// bounded run starts this program again, and the registration runs the work there.
class BoundedWork {
  public:
    const char* name() const { return name_; }
    BoundedWorkFunction function() const { return function_; }

  private:
    friend BoundedWork RegisterBoundedWork(const char* name, BoundedWorkFunction function);
    BoundedWork(const char* name, BoundedWorkFunction function)
        : name_(name), function_(function) {}
    const char* name_;
    BoundedWorkFunction function_;
};

// Registers a work under a name of letters, digits and '-' that no other work has (the program
// stops on a bad or repeated name). Use it only to initialise a namespace-scope constant in the
// file that defines the work:
//     const BoundedWork kDrawPage = RegisterBoundedWork("draw-page", DrawPage);
// In the process started for a bounded run this call runs the work and ends the process, while
// the program's other files may not have set up their own globals yet: a work uses its input,
// constants and libraries, not globals that other files compute at start-up.
BoundedWork RegisterBoundedWork(const char* name, BoundedWorkFunction function);

// Runs work on input with a result buffer of resultBytes (zeroed) that it fills, within the
// limits. The work runs isolated from the caller: nothing it changes other than the result buffer
// is seen afterwards, and it must not depend on other threads. On Done, *result holds the buffer.
BoundedStatus RunBounded(const BoundedLimits& limits, const BoundedWork& work,
                         std::span<const unsigned char> input, std::size_t resultBytes,
                         std::vector<unsigned char>* result);

namespace detail {
// Each system's part of the registration: runs the work and ends the process when this process
// was started for it.
void RunIfStartedFor(const BoundedWork& work);
}  // namespace detail

}  // namespace murvex::pictures
