// write_probe PATH TEXT: makes TEXT the whole content of PATH through the program's file layer, so
// that a test can run a save as another user. Exit status 0 when the write succeeded, 1 when not.

#include <cstdint>
#include <cstring>
#include <span>

#include "toolkit/file_io.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const auto* text = reinterpret_cast<const uint8_t*>(argv[2]);
    return fontarel::write_whole_file(argv[1], std::span(text, std::strlen(argv[2]))) ? 0 : 1;
}
