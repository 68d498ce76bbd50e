#include "model/paths.h"

namespace fontarel {

namespace {

// ASCII only: file names are compared byte for byte, whatever the locale.
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string directory_part(std::string_view path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string with_forced_extension(std::string_view path, std::string_view extension) {
    const std::string_view tail =
        path.size() >= extension.size() ? path.substr(path.size() - extension.size()) : path;
    bool same = tail.size() == extension.size();
    for (size_t i = 0; same && i < tail.size(); ++i)
        same = lower(tail[i]) == lower(extension[i]);
    std::string out(path);
    if (!same)
        out += extension;
    return out;
}

bool is_blank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace fontarel
