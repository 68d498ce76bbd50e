#pragma once
// The program's 8-bit code page (Windows-1252) for the characters shown in titles and labels.

#include <cstdint>
#include <optional>
#include <string>

namespace fontarel {

// The character whose code is `code`, as UTF-8. Codes the code page leaves unassigned give U+FFFD.
std::string code_page_char(uint8_t code);
// The code of a printable character of the code page: 32-126 themselves, the rest of the page's
// characters their codes; std::nullopt for control characters, the unassigned codes and characters
// outside the page.
std::optional<uint8_t> code_page_code(char32_t character);

} // namespace fontarel
