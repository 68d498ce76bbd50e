#pragma once
// The program's 8-bit code page (Windows-1252) for the characters shown in titles and labels.

#include <cstdint>
#include <string>

namespace fontarel {

// The character whose code is `code`, as UTF-8. Codes the code page leaves unassigned give U+FFFD.
std::string code_page_char(uint8_t code);

} // namespace fontarel
