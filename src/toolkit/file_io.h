#pragma once
// File access by small numbers chosen by the caller, on top of std::filesystem, stdio and the
// POSIX file calls.
// Both toolkit backends use this one implementation.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace fontarel {

// Size of the file in bytes; -1 when nothing is there (also for an empty path); -2 for a directory.
int64_t file_size(const std::string& path);
// True when something is at `path` that is neither a regular file nor a folder: a FIFO, a device,
// a socket.
bool is_special_file(const std::string& path);
// Removes the file; nonzero on success.
int delete_file(const std::string& path);
// Makes the folder and any folders above it that are missing; true when it is there afterwards.
bool make_folders(const std::string& path);
// The names (not paths) of the regular files in `folder`, sorted; none when it cannot be listed.
std::vector<std::string> regular_files_in(const std::string& folder);
// The folder where a program keeps its own state between runs: $XDG_STATE_HOME/PROGRAM/, or
// ~/.local/state/PROGRAM/ where that is not set to an absolute path; ends in '/'. Empty when
// neither variable gives a place.
std::string user_state_folder(const std::string& program);
// This run's stamp, for file names no other run takes: the local time it started to the second
// and the process id, "20261207-193500-4242"; names with stamps sort by start time.
std::string run_stamp();

// The step that pushes what the system holds for an open file (a descriptor) onto the disk; false
// when that failed. Whole-file writes take it as a parameter so that a test can watch it run and
// make it fail.
using SyncStep = bool (*)(int descriptor);
// The system's own sync (fsync).
bool sync_to_disk(int descriptor);

// Makes `bytes` the whole content of the file at `path`, creating it when missing; nonzero on
// success. Where it is safe, the bytes go to a new temporary file in the same folder, which is
// synced to the disk and closed, and only then renamed over the target: so a failure at any step
// (no such folder, a full disk, an I/O error) leaves an existing file exactly as it was and no
// temporary file behind. Where a rename would refuse the save or change the file (a folder the user
// may not write to, a file with several hard links, a file whose owner or group the new file could
// not be given), the file is written in place instead: its old bytes are read first, the new ones
// written, the file cut to their length and synced, and on any failure the old bytes are written
// back (a file that may be written but not read cannot be restored that way). Either way the file
// keeps its permissions, owner, group and hard links; a link to a file has the file it names
// replaced. Anything at the path that is not a regular file (a folder, a device) is refused.
// `write_limit` is the number of bytes the disk takes before writing fails (a simulated full disk;
// -1 for no limit); `sync` is the sync step, run on the written file before it replaces the old one
// or counts as written.
int write_whole_file(const std::string& path, std::span<const uint8_t> bytes,
                     int64_t write_limit = -1, SyncStep sync = sync_to_disk);
// The same for bytes made as they are written: `source` hands each piece in order to the writer it
// is given, which answers false once writing has failed (the source may then stop); the file is
// whole, and counts as written, only when the source answers true too. A large file made this
// way never needs all its bytes in memory at once.
using PieceWriter = std::function<bool(std::span<const uint8_t>)>;
using PieceSource = std::function<bool(const PieceWriter& write)>;
int write_whole_file_in_pieces(const std::string& path, const PieceSource& source,
                               int64_t write_limit = -1, SyncStep sync = sync_to_disk);

// True when both paths name one existing file (the same device and inode), whatever the spelling,
// hard link or symbolic link that leads there; false when either is missing.
bool same_file(const std::string& a, const std::string& b);

// Reads the file at `path` from its start, at most `limit` bytes of it, into `bytes` (a file that
// shrank since it was sized gives what it still has); false, with `bytes` empty, when it is no
// regular file or cannot be opened or read. The one reader of whole files, beside
// write_whole_file.
bool read_file_start(const std::string& path, int64_t limit, std::vector<uint8_t>& bytes);

class FileTable {
  public:
    FileTable() = default;
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;
    ~FileTable() { close_all(); }

    // Nonzero on success; the file must exist and be a regular file. A number already open is
    // closed first.
    int open_for_reading(int number, const std::string& path);
    // Nonzero on success; an existing file is cut to zero length.
    int create_for_writing(int number, const std::string& path);
    // Reads up to count bytes; returns the number read (0 for an unknown number).
    int64_t read_bytes(int number, void* memory, int64_t count);
    // The next byte, or -1 at the end or for an unknown number.
    int read_byte(int number);
    // 1 when no byte is left to read (also for an unknown number), else 0.
    int at_end(int number);
    // Writes count bytes; returns the number written.
    int64_t write_bytes(int number, const void* memory, int64_t count);
    // Nonzero on success.
    int write_byte(int number, int value);
    // Writes what is still buffered and closes the file; nonzero on success.
    int close_file(int number);
    void close_all();

  private:
    std::FILE* find(int number) const;
    std::map<int, std::FILE*> files_;
};

} // namespace fontarel
