#include "toolkit/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fontarel {

namespace fs = std::filesystem;

int64_t file_size(const std::string& path) {
    if (path.empty())
        return -1;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        return -1;
    if (fs::is_directory(status))
        return -2;
    const std::uintmax_t size = fs::file_size(path, ec);
    // Something that exists but has no size (a socket, a device) counts as nothing usable.
    return ec ? -1 : static_cast<int64_t>(size);
}

bool is_special_file(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

int delete_file(const std::string& path) {
    if (path.empty())
        return 0;
    std::error_code ec;
    // Only files: a directory of that name is left alone.
    if (fs::is_directory(path, ec))
        return 0;
    return fs::remove(path, ec) && !ec ? 1 : 0;
}

bool make_folders(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

std::vector<std::string> regular_files_in(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string user_state_folder(const std::string& program) {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/" + program + "/";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/state/" + program + "/";
    return {};
}

std::string run_stamp() {
    static const std::string stamp = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
        return std::string(text) + "-" + std::to_string(::getpid());
    }();
    return stamp;
}

bool sync_to_disk(int descriptor) {
    return ::fsync(descriptor) == 0;
}

namespace {

// A new, exclusively created file beside `target`, named after it and hidden; null on failure.
std::FILE* create_temporary_beside(const fs::path& target, fs::path& temporary) {
    std::random_device rd;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "%06x", static_cast<unsigned>(rd() & 0xFFFFFF));
        temporary = target.parent_path() / ("." + target.filename().string() + "." + tag + ".tmp");
        // "x": fails rather than open a file that is already there.
        if (std::FILE* f = std::fopen(temporary.string().c_str(), "wbx"))
            return f;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

// Gives the open file the owner, group and permissions of `old`; false when the system refuses,
// as it does when the user may not hand a file to that owner or group. The owner goes first, as a
// change of owner clears the set-user-ID and set-group-ID bits.
bool take_over_identity(int descriptor, const struct stat& old) {
    struct stat now {};
    if (::fstat(descriptor, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(descriptor, old.st_uid, old.st_gid) != 0)
        return false;
    return ::fchmod(descriptor, old.st_mode & 07777) == 0;
}

// Writes all of `bytes` at `offset`, going on after partial writes and interruptions.
bool write_all_at(int descriptor, std::span<const uint8_t> bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(descriptor, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

// The whole content of the open file; false when it cannot be read.
bool read_all(int descriptor, std::vector<uint8_t>& bytes) {
    uint8_t block[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(descriptor, block, sizeof block, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.insert(bytes.end(), block, block + n);
        offset += n;
    }
}

// The write over the existing file itself, for when a rename would refuse the save or change the
// file; on failure the old bytes are put back.
int write_in_place(const fs::path& target, const PieceSource& source, int64_t write_limit,
                   SyncStep sync) {
    int descriptor = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    const bool readable = descriptor >= 0;
    // A plain write would still succeed on a file the user may not read, so this one does too.
    if (!readable && errno == EACCES)
        descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return 0;
    std::vector<uint8_t> old;
    if (readable && !read_all(descriptor, old)) {
        ::close(descriptor);
        return 0;
    }
    int64_t size = 0;
    const PieceWriter write = [&](std::span<const uint8_t> piece) {
        const auto length = static_cast<int64_t>(piece.size());
        const int64_t taken =
            write_limit < 0 ? length : std::clamp<int64_t>(write_limit - size, 0, length);
        const bool whole =
            write_all_at(descriptor, piece.first(static_cast<size_t>(taken)), static_cast<off_t>(size)) &&
            taken == length;
        size += taken;
        return whole;
    };
    bool ok = source(write) && ::ftruncate(descriptor, static_cast<off_t>(size)) == 0 &&
              sync(descriptor);
    if (!ok && readable) {
        // Best effort: the save has failed either way, and says so.
        write_all_at(descriptor, old, 0);
        [[maybe_unused]] const int cut = ::ftruncate(descriptor, static_cast<off_t>(old.size()));
        sync(descriptor);
    }
    ok = ::close(descriptor) == 0 && ok;
    return ok ? 1 : 0;
}

} // namespace

int write_whole_file(const std::string& path, std::span<const uint8_t> bytes, int64_t write_limit,
                     SyncStep sync) {
    return write_whole_file_in_pieces(
        path, [&](const PieceWriter& write) { return write(bytes); }, write_limit, sync);
}

int write_whole_file_in_pieces(const std::string& path, const PieceSource& source,
                               int64_t write_limit, SyncStep sync) {
    if (path.empty())
        return 0;
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path named = fs::canonical(target, ec);
        if (!ec && fs::is_regular_file(named, ec))
            target = named;
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return 0;
    if (target.filename().empty())
        return 0;
    // A rename would give the other names of a hard-linked file the old bytes.
    if (exists && old.st_nlink > 1)
        return write_in_place(target, source, write_limit, sync);

    fs::path temporary;
    std::FILE* f = create_temporary_beside(target, temporary);
    if (f == nullptr) // a folder the user may not write to, for one
        return exists ? write_in_place(target, source, write_limit, sync) : 0;
    if (exists && !take_over_identity(::fileno(f), old)) {
        std::fclose(f);
        fs::remove(temporary, ec);
        return write_in_place(target, source, write_limit, sync);
    }
    int64_t size = 0;
    const PieceWriter write = [&](std::span<const uint8_t> piece) {
        const auto length = static_cast<int64_t>(piece.size());
        const int64_t taken =
            write_limit < 0 ? length : std::clamp<int64_t>(write_limit - size, 0, length);
        const bool whole = (taken == 0 || std::fwrite(piece.data(), 1, static_cast<size_t>(taken),
                                                      f) == static_cast<size_t>(taken)) &&
                           taken == length;
        size += taken;
        return whole;
    };
    bool ok = source(write);
    ok = ok && std::fflush(f) == 0 && sync(::fileno(f));
    // Closing can still fail (a delayed write error); the file counts as written only when it did
    // not.
    ok = std::fclose(f) == 0 && ok;
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temporary, ec);
    return ok ? 1 : 0;
}

bool same_file(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ec) && !ec;
}

bool read_file_start(const std::string& path, int64_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    FileTable files;
    constexpr int kNumber = 0;
    if (limit < 0 || !files.open_for_reading(kNumber, path)) {
        return false;
    }
    bytes.resize(static_cast<size_t>(limit));
    const int64_t got = files.read_bytes(kNumber, bytes.data(), limit);
    files.close_file(kNumber);
    bytes.resize(static_cast<size_t>(got));
    return true;
}

int FileTable::open_for_reading(int number, const std::string& path) {
    close_file(number);
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec))
        return 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    files_[number] = f;
    return 1;
}

int FileTable::create_for_writing(int number, const std::string& path) {
    close_file(number);
    if (path.empty())
        return 0;
    // "w+b" truncates an existing file and allows reading back what was written.
    std::FILE* f = std::fopen(path.c_str(), "w+b");
    if (!f)
        return 0;
    files_[number] = f;
    return 1;
}

int64_t FileTable::read_bytes(int number, void* memory, int64_t count) {
    std::FILE* f = find(number);
    if (!f || !memory || count <= 0)
        return 0;
    return static_cast<int64_t>(std::fread(memory, 1, static_cast<size_t>(count), f));
}

int FileTable::read_byte(int number) {
    std::FILE* f = find(number);
    if (!f)
        return -1;
    const int c = std::fgetc(f);
    return c == EOF ? -1 : c;
}

int FileTable::at_end(int number) {
    std::FILE* f = find(number);
    if (!f)
        return 1;
    // feof only turns true after a read failed, so peek at the next byte instead.
    const int c = std::fgetc(f);
    if (c == EOF) {
        std::clearerr(f);
        return 1;
    }
    std::ungetc(c, f);
    return 0;
}

int64_t FileTable::write_bytes(int number, const void* memory, int64_t count) {
    std::FILE* f = find(number);
    if (!f || !memory || count <= 0)
        return 0;
    return static_cast<int64_t>(std::fwrite(memory, 1, static_cast<size_t>(count), f));
}

int FileTable::write_byte(int number, int value) {
    std::FILE* f = find(number);
    if (!f)
        return 0;
    return std::fputc(static_cast<unsigned char>(value), f) == EOF ? 0 : 1;
}

int FileTable::close_file(int number) {
    const auto it = files_.find(number);
    if (it == files_.end())
        return 0;
    // fclose flushes; a failed flush (disk full) shows up here.
    const bool ok = std::fclose(it->second) == 0;
    files_.erase(it);
    return ok ? 1 : 0;
}

void FileTable::close_all() {
    for (auto& [number, f] : files_)
        std::fclose(f);
    files_.clear();
}

std::FILE* FileTable::find(int number) const {
    const auto it = files_.find(number);
    return it == files_.end() ? nullptr : it->second;
}

} // namespace fontarel
