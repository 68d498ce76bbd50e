#include "formats/project_parts.h"

#include <algorithm>
#include <vector>

#include "model/labels.h"
#include "model/level.h"

namespace fontarel::project_parts {

void refuse(const std::string& where, const std::string& what) {
    throw Refusal{"\"" + where + "\" " + what};
}

const Json& member(const Json& object, const std::string& key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end())
        refuse(where, "is missing");
    return *it;
}

const Json& object_at(const Json& object, const std::string& key, const std::string& where) {
    const Json& v = member(object, key, where);
    if (!v.is_object())
        refuse(where, "is not an object");
    return v;
}

const Json& array_at(const Json& object, const std::string& key, const std::string& where,
                     size_t count) {
    const Json& v = member(object, key, where);
    if (!v.is_array() || v.size() != count)
        refuse(where, "is not a list of " + std::to_string(count));
    return v;
}

int integer_at(const Json& object, const std::string& key, const std::string& where, int lo,
               int hi) {
    const Json& v = member(object, key, where);
    if (!v.is_number_integer())
        refuse(where, "is not a whole number");
    const auto n = v.get<int64_t>();
    if (n < lo || n > hi)
        refuse(where, "is " + std::to_string(n) + ", not " + std::to_string(lo) + "-" +
                          std::to_string(hi));
    return static_cast<int>(n);
}

const std::string& text_of(const Json& v, const std::string& where) {
    if (!v.is_string())
        refuse(where, "is not a string");
    return v.get_ref<const std::string&>();
}

void hex_bytes(const Json& v, const std::string& where, std::span<uint8_t> out) {
    const std::string& s = text_of(v, where);
    if (s.size() != 2 * out.size())
        refuse(where, "is not " + std::to_string(2 * out.size()) + " hexadecimal digits");
    for (size_t i = 0; i < out.size(); ++i) {
        const int hi = hex_digit_value(s[2 * i]), lo = hex_digit_value(s[2 * i + 1]);
        if (hi < 0 || lo < 0)
            refuse(where, "is not " + std::to_string(2 * out.size()) + " hexadecimal digits");
        out[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
}

std::string hex_text(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    s.reserve(2 * bytes.size());
    for (uint8_t b : bytes) {
        s += kDigits[b >> 4];
        s += kDigits[b & 15];
    }
    return s;
}

bool is_packed(const Json& object, const std::string& where) {
    if (!object.contains("encoding"))
        return false;
    if (text_of(object["encoding"], where + ".encoding") != kPacked)
        refuse(where + ".encoding", "is \"" + object["encoding"].get<std::string>() +
                                        "\", not \"" + std::string(kPacked) + "\"");
    return true;
}

Json unknown_members(const Json& object, std::span<const std::string_view> known) {
    Json out = Json::object();
    for (const auto& [key, value] : object.items())
        if (std::ranges::find(known, key) == known.end())
            out[key] = value;
    return out;
}

void add_kept(Json& object, const Json& kept, const std::string& key,
              std::span<const std::string_view> known) {
    const auto it = kept.find(key);
    if (it == kept.end() || !it->is_object())
        return;
    for (const auto& [k, value] : it->items())
        if (std::ranges::find(known, k) == known.end() && !object.contains(k))
            object[k] = value;
}

namespace {

// Where packed strings belong, and the most each may unpack to (bytes).
struct PackedPlace {
    std::string_view object, key;
    size_t limit;
};
constexpr size_t kMostTileBytes = size_t{kMaxTiles} * kMaxTileSide * kMaxTileSide;
constexpr PackedPlace kPackedPlaces[] = {
    {"level", "tiles", size_t{2} * kMaxLevelSide * kMaxLevelSide},
    {"tiles", "codes", kMostTileBytes},
    {"tiles", "attributes", kMostTileBytes},
};

// Strings at least this long (bytes) are moved into the tree rather than copied.
constexpr size_t kLongString = size_t{1} << 16;

// nlohmann-json's SAX events built into a tree as its own parser does, but with the strings at
// the packed places unpacked on the spot instead of copied.
class TreeBuilder {
  public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    TreeBuilder(Json& root, UnpackedFields& fields, size_t text_size)
        : root_(root), fields_(fields), text_size_(text_size) {}

    bool null() { return put(nullptr); }
    bool boolean(bool v) { return put(v); }
    bool number_integer(number_integer_t v) { return put(v); }
    bool number_unsigned(number_unsigned_t v) { return put(v); }
    bool number_float(number_float_t v, const string_t&) { return put(v); }
    bool binary(binary_t& v) { return put(std::move(v)); }
    bool string(string_t& v) {
        if (const PackedPlace* place = packed_place()) {
            const std::string where = std::string(place->object) + "." + key_;
            Unpacked& field = fields_[where];
            const std::string why = unpack(v, place->limit, field);
            if (!why.empty())
                refuse(where, why);
            return put(string_t());
        }
        // A long string is moved, not copied: the parser's buffer is not needed again.
        if (v.size() >= kLongString)
            return put(std::move(v));
        return put(v);
    }
    bool key(string_t& k) {
        key_ = k;
        // The parser gathers each string in this buffer: with room for the longest string the
        // text can hold made once (address space only, until written), a long string is not
        // copied while it grows.
        if (!reserved_) {
            k.reserve(text_size_);
            reserved_ = true;
        }
        return true;
    }
    bool start_object(size_t) { return open(Json::object()); }
    bool start_array(size_t) { return open(Json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    template <class Exception> bool parse_error(size_t, const std::string&, const Exception& e) {
        throw e;
    }

  private:
    // The packed place the next value fills, if it is one: a member of a root member.
    const PackedPlace* packed_place() const {
        if (stack_.size() != 2 || !stack_.back()->is_object())
            return nullptr;
        for (const PackedPlace& p : kPackedPlaces)
            if (path_.back() == p.object && key_ == p.key)
                return &p;
        return nullptr;
    }
    // Puts a value where the parser is: the root, an array's next item or the member `key_`.
    Json* place(Json v) {
        if (stack_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        Json& top = *stack_.back();
        if (top.is_array()) {
            top.push_back(std::move(v));
            return &top.back();
        }
        Json& slot = top[key_];
        slot = std::move(v);
        return &slot;
    }
    bool put(Json v) {
        place(std::move(v));
        return true;
    }
    bool open(Json v) {
        const std::string name = !stack_.empty() && stack_.back()->is_object() ? key_ : "";
        stack_.push_back(place(std::move(v)));
        path_.push_back(name);
        return true;
    }
    bool close() {
        stack_.pop_back();
        path_.pop_back();
        return true;
    }

    Json& root_;
    UnpackedFields& fields_;
    size_t text_size_;
    bool reserved_ = false;
    // The containers open, innermost last (each lives in its parent, which does not change while
    // it is open), and the key each sits under ("" for the root and for an array's items).
    std::vector<Json*> stack_;
    std::vector<std::string> path_;
    std::string key_;
};

} // namespace

void parse_json(std::span<const uint8_t> bytes, Json& root, UnpackedFields& fields) {
    TreeBuilder builder(root, fields, bytes.size());
    Json::sax_parse(bytes.begin(), bytes.end(), &builder);
}

} // namespace fontarel::project_parts
