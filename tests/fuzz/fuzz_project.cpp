// The project reader on any bytes: a refusal is one line and leaves the project as it was; a
// project it takes is written and read again to the same text.

#include <string>

#include "formats/project.h"
#include "fuzz_font_check.h"

using namespace fontarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Project p;
    p.colour0 = 0x123456;
    const std::string why = read_project(std::span<const uint8_t>(data, size), p);
    if (!why.empty()) {
        fuzz::expect(why.find('\n') == std::string::npos, "a refusal of one line");
        fuzz::expect(p.colour0 == 0x123456 && p.kept.empty(), "a refusal changes nothing");
        return 0;
    }
    const std::string text = project_text(p);
    Project again;
    fuzz::expect(read_project({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, again)
                     .empty(),
                 "a project written is read again");
    fuzz::expect(project_text(again) == text, "and gives the same text");
    return 0;
}
