#pragma once
// A small JSON reader (RFC 8259) for RDAP answers and IANA's bootstrap files, and the
// pretty-printed form of what it read. Strings keep the bytes they were sent as, so a registry
// that breaks the rule of UTF-8 loses nothing; "\u" escapes become UTF-8 (half a surrogate pair
// becomes U+FFFD). Numbers keep their text. Object members keep their order and every duplicate.
// A hostile document cannot exhaust the stack or the memory: nesting and the number of values
// are bounded, and a document past either bound is not read.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rdap {

inline constexpr int MaxJsonDepth = 256;
inline constexpr std::size_t MaxJsonValues = 1'000'000;

struct TJsonValue {
    enum class Type : unsigned char { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    bool boolean = false;
    std::string text;              // a string's bytes, or a number as written
    std::vector<TJsonValue> items; // an array's items, or an object's member values
    std::vector<std::string> keys; // an object's member names, one for each of `items`

    bool IsObject() const { return type == Type::Object; }
    bool IsArray() const { return type == Type::Array; }
    bool IsString() const { return type == Type::String; }
    // The first member of that name, or null; null too when this is no object.
    const TJsonValue* Find(std::string_view key) const;
    // The member's text when it is a string or a number; empty otherwise.
    std::string Text(std::string_view key) const;
    // The member's items when it is an array; none otherwise.
    const std::vector<TJsonValue>& Items(std::string_view key) const;
};

// The value the whole of `text` holds (blanks around it allowed, a UTF-8 byte order mark before
// it skipped); nothing when the text is no JSON or passes the bounds above (or a lower bound on
// the number of values that a caller sets).
std::optional<TJsonValue> ParseJson(std::string_view text, std::size_t maxValues = MaxJsonValues);

// The value written out again, two blanks of indent a level, one member or item a line; strings
// are escaped only where JSON requires it, so non-ASCII text stays readable.
std::vector<std::string> PrettyJson(const TJsonValue& value);

} // namespace rdap
