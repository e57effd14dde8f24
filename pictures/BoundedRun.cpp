// The registry of bounded works, shared by both systems: a name picks exactly one work.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "BoundedRun.h"

namespace murvex::pictures {

BoundedWork RegisterBoundedWork(const char* name, BoundedWorkFunction function) {
    // Registrations run while the program's globals are set up, in no fixed order between files:
    // the list is made on first use.
    static std::vector<std::string_view> names;
    const std::string_view text(name ? name : "");
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-';
    });
    if (text.empty() || !plain || !function ||
        std::find(names.begin(), names.end(), text) != names.end()) {
        std::fputs("murvex: a bounded work has a bad or repeated name\n", stderr);
        std::abort();
    }
    names.push_back(text);
    const BoundedWork work(name, function);
    detail::RunIfStartedFor(work);
    return work;
}

}  // namespace murvex::pictures
