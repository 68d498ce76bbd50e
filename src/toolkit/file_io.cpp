#include "toolkit/file_io.h"

#include <filesystem>
#include <system_error>

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
