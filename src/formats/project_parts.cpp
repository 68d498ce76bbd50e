#include "formats/project_parts.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "model/labels.h"

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
    std::string s(2 * bytes.size(), '0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        s[2 * i] = kDigits[bytes[i] >> 4];
        s[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    return s;
}

bool is_packed(const Json& object, const std::string& where) {
    if (!object.contains("encoding"))
        return false;
    if (text_of(object["encoding"], where + ".encoding") != kPacked)
        refuse(where + ".encoding", "is \"" + object["encoding"].get<std::string>() + "\", not \"" +
                                        std::string(kPacked) + "\"");
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

// Where packed strings belong: members of these root members.
struct PackedPlace {
    std::string_view object, key;
};
constexpr PackedPlace kPackedPlaces[] = {
    {"level", "tiles"},
    {"tiles", "codes"},
    {"tiles", "attributes"},
};

// Strings of at least this many characters, all printable ASCII without a backslash, are read in
// place instead of by the parser, character by character into a buffer of its own.
constexpr size_t kLongString = 4096;

// Where the long plain strings' characters lie in the text: [begin, end) of each, in order.
struct Skips {
    std::vector<std::pair<size_t, size_t>> spans;
    size_t next = 0;               // the next span the input reaches
    size_t skipped = 0, taken = 0; // spans passed over, and spans handed to a value
};

bool is_plain(const char* from, const char* to) {
    bool plain = true;
    for (const char* c = from; c < to; ++c)
        plain &= *c >= 0x20 && *c < 0x7F && *c != '\\';
    return plain;
}

// The long plain strings of a JSON text. Outside strings every '"' begins one, as for the parser,
// so the two agree on where strings are for as long as the text is JSON.
Skips long_plain_strings(std::string_view text) {
    Skips skips;
    size_t at = 0;
    while ((at = text.find('"', at)) != std::string_view::npos) {
        const size_t begin = at + 1;
        size_t end = text.find('"', begin);
        if (end == std::string_view::npos)
            break;
        if (text.substr(begin, end - begin).find('\\') != std::string_view::npos) {
            // Escapes: walk to the real end; such a string is never skipped.
            for (end = begin; end < text.size() && text[end] != '"'; ++end)
                end += text[end] == '\\';
        } else if (end - begin >= kLongString && is_plain(text.data() + begin, text.data() + end)) {
            skips.spans.emplace_back(begin, end);
        }
        at = end + 1;
    }
    return skips;
}

// The text as the parser reads it: each long plain string's characters passed over, so that it
// reads as "".
class SkippingIterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    SkippingIterator(const char* base, size_t at, Skips* skips)
        : base_(base), at_(at), skips_(skips) {}
    reference operator*() const { return base_[at_]; }
    SkippingIterator& operator++() {
        ++at_;
        if (skips_->next < skips_->spans.size() && at_ == skips_->spans[skips_->next].first) {
            at_ = skips_->spans[skips_->next++].second;
            ++skips_->skipped;
        }
        return *this;
    }
    SkippingIterator operator++(int) {
        SkippingIterator was = *this;
        ++*this;
        return was;
    }
    bool operator==(const SkippingIterator& other) const { return at_ == other.at_; }

  private:
    const char* base_;
    size_t at_;
    Skips* skips_;
};

// nlohmann-json's SAX events built into a tree as its own parser does, but with the strings at
// the packed places set aside (not put in the tree), and long plain strings taken from the text
// itself.
class TreeBuilder {
  public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    TreeBuilder(Json& root, PackedTexts& packed, std::string_view text, Skips& skips)
        : root_(root), packed_(packed), text_(text), skips_(skips) {}

    bool null() { return put(nullptr); }
    bool boolean(bool v) { return put(v); }
    bool number_integer(number_integer_t v) { return put(v); }
    bool number_unsigned(number_unsigned_t v) { return put(v); }
    bool number_float(number_float_t v, const string_t&) { return put(v); }
    bool binary(binary_t& v) { return put(std::move(v)); }
    bool string(string_t& v) {
        const bool in_place = took_skipped();
        const std::string_view s = in_place ? last_skipped() : std::string_view(v);
        if (const PackedPlace* place = packed_place()) {
            PackedText& packed = packed_[std::string(place->object) + "." + key_];
            packed.in_place = in_place;
            packed.view = in_place ? s : std::string_view();
            packed.copy = in_place ? std::string() : std::string(s);
            return put(string_t());
        }
        return put(string_t(s));
    }
    bool key(string_t& k) {
        key_ = took_skipped() ? last_skipped() : std::string_view(k);
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
    // Whether the string just read is a long plain string the parser passed over (the one string
    // it read since it passed it).
    bool took_skipped() const { return skips_.taken < skips_.skipped; }
    std::string_view last_skipped() {
        const auto [begin, end] = skips_.spans[skips_.taken++];
        return text_.substr(begin, end - begin);
    }
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
    PackedTexts& packed_;
    std::string_view text_;
    Skips& skips_;
    // The containers open, innermost last (each lives in its parent, which does not change while
    // it is open), and the key each sits under ("" for the root and for an array's items).
    std::vector<Json*> stack_;
    std::vector<std::string> path_;
    std::string key_;
};

} // namespace

void parse_json(std::span<const uint8_t> bytes, Json& root, PackedTexts& packed) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Skips skips = long_plain_strings(text);
    TreeBuilder builder(root, packed, text, skips);
    // The first character is never inside a string, so the input may start there.
    Json::sax_parse(SkippingIterator(text.data(), 0, &skips),
                    SkippingIterator(text.data(), text.size(), &skips), &builder);
}

} // namespace fontarel::project_parts
