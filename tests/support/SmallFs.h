// A small size-limited file system for one test: a tmpfs mounted on a fresh folder.
#pragma once

#include <string>
#include <vector>

#include "TempDir.h"

namespace murvex::test {

// Mounting needs privileges (root or CAP_SYS_ADMIN); where it is refused, Mounted() is false and
// Why() says why, for GTEST_SKIP. Unmounted (lazily) when the test ends.
class SmallFs {
  public:
    explicit SmallFs(const std::string& size = "64k");
    ~SmallFs();
    SmallFs(const SmallFs&) = delete;
    SmallFs& operator=(const SmallFs&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    std::string File(const std::string& name) const { return dir_.File(name); }
    std::vector<std::string> Entries() const { return dir_.Entries(); }
    // Takes all free space with a file named "filler": after it no write of any size fits.
    bool Fill();
    // Mounts it again read-only: no file in it can be created, changed or removed, not by root.
    bool MakeReadOnly();

  private:
    TempDir dir_;
    std::string size_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace murvex::test
