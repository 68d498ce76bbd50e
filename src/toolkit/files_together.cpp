#include "toolkit/files_together.h"

#include <cstdint>
#include <vector>

#include "toolkit/file_io.h"

namespace fontarel {

int write_files_together(std::span<const FileToWrite> files) {
    // What each file held before, read just before it is written.
    struct Old {
        std::vector<uint8_t> bytes;
        int64_t size = -1;
        bool readable = false;
    };
    std::vector<Old> old(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        old[i].size = file_size(files[i].path);
        old[i].readable =
            old[i].size >= 0 && read_file_start(files[i].path, old[i].size, old[i].bytes);
        if (files[i].write())
            continue;
        for (size_t j = 0; j < i; ++j) {
            if (old[j].readable)
                write_whole_file(files[j].path, old[j].bytes);
            else if (old[j].size < 0)
                delete_file(files[j].path);
        }
        return static_cast<int>(i);
    }
    return -1;
}

} // namespace fontarel
