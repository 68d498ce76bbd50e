#pragma once
// The project file's reading and writing helpers, shared by project.cpp and project_levels.cpp:
// the JSON tree, refusals that name their key, hex strings, the keys a save keeps, and the parser
// that sets the packed strings (packed_bytes.h) aside, in place, for the readers to unpack.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "formats/packed_bytes.h"

namespace fontarel::project_parts {

// Keys in the order they are written, which the file keeps.
using Json = nlohmann::ordered_json;

// Why a file is refused; thrown only inside the project reader and turned into its text.
struct Refusal {
    std::string why;
};
[[noreturn]] void refuse(const std::string& where, const std::string& what);

const Json& member(const Json& object, const std::string& key, const std::string& where);
const Json& object_at(const Json& object, const std::string& key, const std::string& where);
const Json& array_at(const Json& object, const std::string& key, const std::string& where,
                     size_t count);
int integer_at(const Json& object, const std::string& key, const std::string& where, int lo,
               int hi);
const std::string& text_of(const Json& v, const std::string& where);
// `out.size()` bytes from a string of 2 * out.size() hexadecimal digits.
void hex_bytes(const Json& v, const std::string& where, std::span<uint8_t> out);
std::string hex_text(std::span<const uint8_t> bytes);

// The value of "encoding" that marks packed strings.
inline constexpr std::string_view kPacked = "zlib-base64";
// Whether `object` (at `where`) says its large strings are packed: "encoding" absent (hex
// strings) or "zlib-base64".
bool is_packed(const Json& object, const std::string& where);

// The members of `object` whose keys are not among `known`; an empty object when there are none.
Json unknown_members(const Json& object, std::span<const std::string_view> known);
// Appends to `object` the members of `kept[key]` whose keys are neither among `known` nor in
// `object` already.
void add_kept(Json& object, const Json& kept, const std::string& key,
              std::span<const std::string_view> known);

// The text of a packed string found while parsing: a view of the parsed text itself when the
// string is long, else a copy.
struct PackedText {
    std::string copy;
    std::string_view view;
    bool in_place = false;
    std::string_view text() const { return in_place ? view : std::string_view(copy); }
};
// The packed strings by their place ("level.tiles").
using PackedTexts = std::map<std::string, PackedText, std::less<>>;

// Parses `bytes` into `root`. A string at one of the places where a packed string belongs
// (level.tiles, tiles.codes, tiles.attributes) goes into `packed` and is left empty in the tree,
// so that the file's text is never held twice; the views stay valid as long as `bytes`. Throws
// Json::exception on bad JSON.
void parse_json(std::span<const uint8_t> bytes, Json& root, PackedTexts& packed);

} // namespace fontarel::project_parts
