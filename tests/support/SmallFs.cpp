// A small size-limited file system for one test: a tmpfs mounted on a fresh folder.
#include "SmallFs.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace murvex::test {

SmallFs::SmallFs(const std::string& size) : size_("size=" + size) {
    const std::string where = dir_.Path().string();
    if (::mount("tmpfs", where.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, size_.c_str()) == 0) {
        mounted_ = true;
    } else {
        why_ = std::string("cannot mount a small tmpfs here (") + std::strerror(errno) +
               "); needs root or CAP_SYS_ADMIN";
    }
}

SmallFs::~SmallFs() {
    if (mounted_) ::umount2(dir_.Path().c_str(), MNT_DETACH);
}

bool SmallFs::Fill() {
    const int fd = ::open(File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const char block[512] = {};
    std::size_t chunk = sizeof block;
    int error = 0;
    while (chunk > 0) {
        if (::write(fd, block, chunk) < 0) {
            error = errno;
            chunk /= 2;  // the last blocks, then single bytes
        }
    }
    ::close(fd);
    return error == ENOSPC;
}

bool SmallFs::MakeReadOnly() {
    return ::mount("tmpfs", dir_.Path().c_str(), "tmpfs",
                   MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, size_.c_str()) == 0;
}

}  // namespace murvex::test
