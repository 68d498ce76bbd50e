#pragma once
// A file that one run writes and appends to while it holds an advisory lock on it (flock), so
// that other runs can tell a file still in use from one a run left when it ended, however it
// ended: the system drops the lock with the process, a kill -9 included.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fontarel {

class LockedFile {
  public:
    // `write_limit`: bytes the disk takes over the file's life before writing fails (a simulated
    // full disk); -1 for no limit.
    explicit LockedFile(int64_t write_limit = -1) : limit_(write_limit) {}
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile() { close(); }

    // Creates (or empties) the file at `path` and locks it; false, with nothing open, when it
    // cannot be created or another open of it holds the lock.
    bool create(const std::string& path);
    // Appends all the bytes at the end; false when not all of them were written.
    bool append(std::span<const uint8_t> bytes);
    // Renames the open file to `target`, replacing what is there at once; the lock goes with it.
    bool rename_to(const std::string& target);
    // Releases the lock and closes the file; it stays on the disk.
    void close();
    bool is_open() const { return descriptor_ >= 0; }
    const std::string& path() const { return path_; }
    // Bytes appended since create().
    int64_t size() const { return size_; }

  private:
    int descriptor_ = -1;
    std::string path_;
    int64_t size_ = 0;
    int64_t limit_;
    int64_t written_ = 0; // across the files created, for the limit
};

// True when another open of the file holds its lock: the run that writes it is still going.
// False for a file without a lock, and for one that cannot be opened.
bool lock_held(const std::string& path);
// The time of the file's last change, in seconds since 1970; -1 when nothing is there.
int64_t modified_seconds(const std::string& path);
// Up to `count` bytes of the file from `offset` into `bytes`; false when it cannot be read.
bool read_file_part(const std::string& path, int64_t offset, int64_t count,
                    std::vector<uint8_t>& bytes);

} // namespace fontarel
