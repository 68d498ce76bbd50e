#include "toolkit/file_io.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

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

int delete_file(const std::string& path) {
    if (path.empty())
        return 0;
    std::error_code ec;
    // Only files: a directory of that name is left alone.
    if (fs::is_directory(path, ec))
        return 0;
    return fs::remove(path, ec) && !ec ? 1 : 0;
}

namespace {

// Pushes what the system holds for the file onto the disk, so that a rename done afterwards can
// never expose a file whose content is still missing. True where the platform has no such call.
bool sync_to_disk(std::FILE* f) {
#if defined(__unix__) || defined(__APPLE__)
    return ::fsync(::fileno(f)) == 0;
#else
    (void)f;
    return true;
#endif
}

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

} // namespace

int write_whole_file(const std::string& path, std::span<const uint8_t> bytes, int64_t write_limit) {
    if (path.empty())
        return 0;
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path named = fs::canonical(target, ec);
        if (!ec && fs::is_regular_file(named, ec))
            target = named;
    }
    const fs::file_status old = fs::status(target, ec);
    if (fs::exists(old) && !fs::is_regular_file(old))
        return 0;
    if (target.filename().empty())
        return 0;

    fs::path temporary;
    std::FILE* f = create_temporary_beside(target, temporary);
    if (f == nullptr)
        return 0;
    const auto size = static_cast<int64_t>(bytes.size());
    const int64_t taken = write_limit < 0 ? size : std::min(size, write_limit);
    bool ok = taken == 0 || std::fwrite(bytes.data(), 1, static_cast<size_t>(taken), f) ==
                                static_cast<size_t>(taken);
    ok = ok && taken == size;
    ok = ok && std::fflush(f) == 0 && sync_to_disk(f);
    // Closing can still fail (a delayed write error); the file counts as written only when it did
    // not.
    ok = std::fclose(f) == 0 && ok;
    if (ok && fs::exists(old))
        fs::permissions(temporary, old.permissions(), fs::perm_options::replace, ec);
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temporary, ec);
    return ok ? 1 : 0;
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
