#include "Json.h"

#include "Utf8.h"

namespace rdap {

namespace {

class TParser {
  public:
    TParser(std::string_view text, std::size_t maxValues) : s_(text), maxValues_(maxValues) {}

    std::optional<TJsonValue> Document() {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") i_ = 3;
        TJsonValue value;
        if (!Value(value, 0)) return std::nullopt;
        Blanks();
        if (i_ != s_.size()) return std::nullopt;
        return value;
    }

  private:
    bool Value(TJsonValue& out, int depth) {
        if (depth > MaxJsonDepth || ++values_ > maxValues_) return false;
        Blanks();
        if (i_ >= s_.size()) return false;
        switch (s_[i_]) {
        case '{':
            return Object(out, depth);
        case '[':
            return Array(out, depth);
        case '"':
            out.type = TJsonValue::Type::String;
            return String(out.text);
        case 't':
            out.type = TJsonValue::Type::Bool;
            out.boolean = true;
            return Word("true");
        case 'f':
            out.type = TJsonValue::Type::Bool;
            return Word("false");
        case 'n':
            return Word("null");
        default:
            out.type = TJsonValue::Type::Number;
            return Number(out.text);
        }
    }

    bool Object(TJsonValue& out, int depth) {
        out.type = TJsonValue::Type::Object;
        ++i_;
        Blanks();
        if (Take('}')) return true;
        do {
            Blanks();
            std::string key;
            if (i_ >= s_.size() || s_[i_] != '"' || !String(key)) return false;
            Blanks();
            if (!Take(':')) return false;
            out.keys.push_back(std::move(key));
            out.items.emplace_back();
            if (!Value(out.items.back(), depth + 1)) return false;
            Blanks();
        } while (Take(','));
        return Take('}');
    }

    bool Array(TJsonValue& out, int depth) {
        out.type = TJsonValue::Type::Array;
        ++i_;
        Blanks();
        if (Take(']')) return true;
        do {
            out.items.emplace_back();
            if (!Value(out.items.back(), depth + 1)) return false;
            Blanks();
        } while (Take(','));
        return Take(']');
    }

    // After the opening quote: plain runs are copied whole; control characters must be escaped.
    bool String(std::string& out) {
        ++i_;
        for (;;) {
            const std::size_t run = i_;
            while (i_ < s_.size() && s_[i_] != '"' && s_[i_] != '\\' &&
                   static_cast<unsigned char>(s_[i_]) >= 0x20)
                ++i_;
            out.append(s_.substr(run, i_ - run));
            if (i_ >= s_.size() || static_cast<unsigned char>(s_[i_]) < 0x20) return false;
            if (s_[i_++] == '"') return true;
            if (!Escape(out)) return false;
        }
    }

    bool Escape(std::string& out) {
        if (i_ >= s_.size()) return false;
        const char c = s_[i_++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u':
            return Unicode(out);
        default:
            return false;
        }
    }

    // A high surrogate joins the low one escaped right after it; either half alone is U+FFFD.
    bool Unicode(std::string& out) {
        char32_t c = 0;
        if (!Hex4(c)) return false;
        if (c >= 0xD800 && c <= 0xDBFF && s_.substr(i_, 2) == "\\u") {
            const std::size_t back = i_;
            i_ += 2;
            char32_t low = 0;
            if (!Hex4(low)) return false;
            if (low >= 0xDC00 && low <= 0xDFFF)
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            else
                i_ = back; // the next escape stands on its own
        }
        AppendUtf8(c, out); // a surrogate left alone comes out as U+FFFD
        return true;
    }

    bool Hex4(char32_t& c) {
        if (i_ + 4 > s_.size()) return false;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[i_++];
            int digit = -1;
            if (h >= '0' && h <= '9') digit = h - '0';
            if (h >= 'a' && h <= 'f') digit = h - 'a' + 10;
            if (h >= 'A' && h <= 'F') digit = h - 'A' + 10;
            if (digit < 0) return false;
            c = c << 4 | static_cast<char32_t>(digit);
        }
        return true;
    }

    // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
    bool Number(std::string& out) {
        const std::size_t start = i_;
        Take('-');
        if (Take('0')) {
        } else if (!Digits()) {
            return false;
        }
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        out.assign(s_.substr(start, i_ - start));
        return true;
    }

    bool Digits() {
        const std::size_t start = i_;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9')
            ++i_;
        return i_ > start;
    }

    bool Word(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) return false;
        i_ += word.size();
        return true;
    }

    bool Take(char c) {
        if (i_ >= s_.size() || s_[i_] != c) return false;
        ++i_;
        return true;
    }

    void Blanks() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
            ++i_;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::size_t maxValues_;
    std::size_t values_ = 0;
};

void AppendQuoted(const std::string& text, std::string& out) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// `line` holds what goes before the value on its first line (the indent and the member's name).
void Pretty(const TJsonValue& value, std::string line, int indent,
            std::vector<std::string>& lines) {
    using Type = TJsonValue::Type;
    switch (value.type) {
    case Type::Null:
        lines.push_back(line + "null");
        return;
    case Type::Bool:
        lines.push_back(line + (value.boolean ? "true" : "false"));
        return;
    case Type::Number:
        lines.push_back(line + value.text);
        return;
    case Type::String:
        AppendQuoted(value.text, line);
        lines.push_back(std::move(line));
        return;
    case Type::Array:
    case Type::Object:
        break;
    }
    const bool object = value.type == Type::Object;
    if (value.items.empty()) {
        lines.push_back(line + (object ? "{}" : "[]"));
        return;
    }
    lines.push_back(line + (object ? "{" : "["));
    const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
    for (std::size_t k = 0; k < value.items.size(); ++k) {
        std::string head = inner;
        if (object) {
            AppendQuoted(value.keys[k], head);
            head += ": ";
        }
        Pretty(value.items[k], std::move(head), indent + 2, lines);
        if (k + 1 < value.items.size()) lines.back() += ',';
    }
    lines.push_back(std::string(static_cast<std::size_t>(indent), ' ') + (object ? "}" : "]"));
}

const std::vector<TJsonValue>& NoItems() {
    static const std::vector<TJsonValue> none;
    return none;
}

} // namespace

const TJsonValue* TJsonValue::Find(std::string_view key) const {
    if (type != Type::Object) return nullptr;
    for (std::size_t k = 0; k < keys.size(); ++k)
        if (keys[k] == key) return &items[k];
    return nullptr;
}

std::string TJsonValue::Text(std::string_view key) const {
    const TJsonValue* member = Find(key);
    if (!member || (member->type != Type::String && member->type != Type::Number)) return {};
    return member->text;
}

const std::vector<TJsonValue>& TJsonValue::Items(std::string_view key) const {
    const TJsonValue* member = Find(key);
    return member && member->type == Type::Array ? member->items : NoItems();
}

std::optional<TJsonValue> ParseJson(std::string_view text, std::size_t maxValues) {
    return TParser(text, maxValues).Document();
}

std::vector<std::string> PrettyJson(const TJsonValue& value) {
    std::vector<std::string> lines;
    Pretty(value, {}, 0, lines);
    return lines;
}

} // namespace rdap
