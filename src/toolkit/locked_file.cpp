#include "toolkit/locked_file.h"

#include <cerrno>
#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fontarel {

bool LockedFile::create(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    descriptor_ = fd;
    path_ = path;
    size_ = 0;
    return true;
}

bool LockedFile::append(std::span<const uint8_t> bytes) {
    if (descriptor_ < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        size_t chunk = bytes.size() - done;
        if (limit_ >= 0)
            chunk = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(chunk),
                                                          std::max<int64_t>(limit_ - written_, 0)));
        if (chunk == 0)
            return false; // the simulated disk is full
        const ssize_t n = ::write(descriptor_, bytes.data() + done, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
        size_ += n;
        written_ += n;
    }
    return true;
}

bool LockedFile::rename_to(const std::string& target) {
    if (descriptor_ < 0 || std::rename(path_.c_str(), target.c_str()) != 0)
        return false;
    path_ = target;
    return true;
}

void LockedFile::close() {
    if (descriptor_ >= 0)
        ::close(descriptor_); // the lock goes with the last descriptor of this open
    descriptor_ = -1;
}

bool lock_held(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A lock of its own on a second open conflicts with the writer's, in this process too.
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

int64_t modified_seconds(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_mtim.tv_sec);
}

bool read_file_part(const std::string& path, int64_t offset, int64_t count,
                    std::vector<uint8_t>& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bytes.resize(static_cast<size_t>(std::max<int64_t>(count, 0)));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got,
                                  static_cast<off_t>(offset + static_cast<int64_t>(got)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return true;
}

} // namespace fontarel
