#pragma once
// Several files written as one: all of them, or none changed.

#include <functional>
#include <span>
#include <string>

namespace fontarel {

struct FileToWrite {
    std::string path;
    // Writes the whole file at `path` (through write_whole_file, so a failed write leaves the file
    // as it was); true when it was written.
    std::function<bool()> write;
};

// Writes the files in order. When one cannot be written, those before it are put back: their old
// bytes written again, or removed when nothing was there. Returns the index of that file, or -1
// when every file was written.
int write_files_together(std::span<const FileToWrite> files);

} // namespace fontarel
