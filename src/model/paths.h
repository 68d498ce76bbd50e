#pragma once
// Texts of file paths as the file commands treat them: the folder a requester opens in, the
// extension a saved file is given, and paths that name nothing at all.

#include <string>
#include <string_view>

namespace fontarel {

// Everything up to and including the last '/' or '\'; empty text when the path has neither.
std::string directory_part(std::string_view path);

// The path with `extension` (lower case, with its dot, such as ".fnt") appended, unless the path
// already ends in it. Only the last extension.size() characters count, compared in lower case, so
// "FONT.FNT" stays as it is while "font.txt" becomes "font.txt.fnt"; a shorter path is compared
// as a whole ("a.b" becomes "a.b.fnt").
std::string with_forced_extension(std::string_view path, std::string_view extension);

// True when the text is empty or holds only spaces and tabs.
bool is_blank(std::string_view text);

} // namespace fontarel
