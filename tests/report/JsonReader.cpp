#include "JsonReader.h"

#include <limits>
#include <stdexcept>

namespace json {

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<Value> Document(std::string* error)
    {
        Value value;
        SkipBlanks();
        if (ReadValue(value, 0)) {
            SkipBlanks();
            if (AtEnd())
                return value;
            Fail("text after the document");
        }
        if (error)
            *error = "at " + std::to_string(pos_) + ": " + why_;
        return std::nullopt;
    }

private:
    static constexpr int kMaxDepth = 64;

    bool Fail(const char* why)
    {
        if (why_.empty())
            why_ = why;
        return false;
    }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void SkipBlanks()
    {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++pos_;
    }
    bool Expect(char c)
    {
        if (Peek() != c)
            return Fail("unexpected character");
        ++pos_;
        return true;
    }
    bool Literal(std::string_view word)
    {
        if (text_.substr(pos_, word.size()) != word)
            return Fail("unknown literal");
        pos_ += word.size();
        return true;
    }

    bool ReadValue(Value& value, int depth)
    {
        if (depth > kMaxDepth)
            return Fail("nested too deeply");
        switch (Peek()) {
        case '{': value.kind = Value::Kind::Object; return ReadObject(value, depth);
        case '[': value.kind = Value::Kind::Array; return ReadArray(value, depth);
        case '"': value.kind = Value::Kind::String; return ReadString(value.text);
        case 't': value.kind = Value::Kind::Bool; value.boolean = true; return Literal("true");
        case 'f': value.kind = Value::Kind::Bool; return Literal("false");
        case 'n': value.kind = Value::Kind::Null; return Literal("null");
        default: value.kind = Value::Kind::Number; return ReadNumber(value.text);
        }
    }

    bool ReadObject(Value& value, int depth)
    {
        ++pos_;
        SkipBlanks();
        if (Peek() == '}')
            return ++pos_, true;
        for (;;) {
            Member member;
            SkipBlanks();
            if (Peek() != '"')
                return Fail("member name expected");
            if (!ReadString(member.key))
                return false;
            if (value.Has(member.key))
                return Fail("member named twice");
            SkipBlanks();
            if (!Expect(':'))
                return false;
            SkipBlanks();
            if (!ReadValue(member.value, depth + 1))
                return false;
            value.members.push_back(std::move(member));
            SkipBlanks();
            if (Peek() == '}')
                return ++pos_, true;
            if (!Expect(','))
                return false;
        }
    }

    bool ReadArray(Value& value, int depth)
    {
        ++pos_;
        SkipBlanks();
        if (Peek() == ']')
            return ++pos_, true;
        for (;;) {
            Value item;
            SkipBlanks();
            if (!ReadValue(item, depth + 1))
                return false;
            value.items.push_back(std::move(item));
            SkipBlanks();
            if (Peek() == ']')
                return ++pos_, true;
            if (!Expect(','))
                return false;
        }
    }

    bool Digits()
    {
        const std::size_t start = pos_;
        while (Peek() >= '0' && Peek() <= '9')
            ++pos_;
        return pos_ > start || Fail("digit expected");
    }

    bool ReadNumber(std::string& literal)
    {
        const std::size_t start = pos_;
        if (Peek() == '-')
            ++pos_;
        if (Peek() == '0') {
            ++pos_;
        } else if (!Digits()) {
            return false;
        }
        if (Peek() == '.' && (++pos_, !Digits()))
            return false;
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-')
                ++pos_;
            if (!Digits())
                return false;
        }
        if (Peek() >= '0' && Peek() <= '9')
            return Fail("leading zero");
        literal = std::string(text_.substr(start, pos_ - start));
        return true;
    }

    bool Hex4(uint32_t& unit)
    {
        unit = 0;
        for (int i = 0; i < 4; ++i, ++pos_) {
            const char c = Peek();
            unit <<= 4;
            if (c >= '0' && c <= '9')
                unit |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                unit |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                unit |= static_cast<uint32_t>(c - 'A' + 10);
            else
                return Fail("four hex digits expected");
        }
        return true;
    }

    static void Encode(std::string& out, uint32_t cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool Escape(std::string& out)
    {
        const char c = Peek();
        ++pos_;
        switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return Fail("unknown escape");
        }
        uint32_t unit = 0;
        if (!Hex4(unit))
            return false;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return Fail("lone low surrogate");
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            uint32_t low = 0;
            if (text_.substr(pos_, 2) != "\\u")
                return Fail("high surrogate without its low half");
            pos_ += 2;
            if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                return Fail("high surrogate without its low half");
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        Encode(out, unit);
        return true;
    }

    // One UTF-8 sequence, checked for its length, continuation bytes and
    // range (no overlong forms, no surrogates).
    bool Utf8(std::string& out)
    {
        const auto lead = static_cast<unsigned char>(Peek());
        int extra = 0;
        uint32_t cp = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1, cp = lead & 0x1Fu;
        else if (lead >= 0xE0 && lead <= 0xEF)
            extra = 2, cp = lead & 0x0Fu;
        else if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3, cp = lead & 0x07u;
        else
            return Fail("invalid UTF-8 lead byte");
        const std::size_t start = pos_++;
        for (int i = 0; i < extra; ++i, ++pos_) {
            const auto next = static_cast<unsigned char>(Peek());
            if ((next & 0xC0) != 0x80)
                return Fail("invalid UTF-8 continuation");
            cp = (cp << 6) | (next & 0x3Fu);
        }
        const uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return Fail("invalid UTF-8 sequence");
        out += text_.substr(start, pos_ - start);
        return true;
    }

    bool ReadString(std::string& out)
    {
        ++pos_;
        out.clear();
        for (;;) {
            if (AtEnd())
                return Fail("unterminated string");
            const auto c = static_cast<unsigned char>(Peek());
            if (c == '"')
                return ++pos_, true;
            if (c < 0x20)
                return Fail("raw control character in a string");
            if (c == '\\') {
                ++pos_;
                if (!Escape(out))
                    return false;
            } else if (c >= 0x80) {
                if (!Utf8(out))
                    return false;
            } else {
                out += static_cast<char>(c);
                ++pos_;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string why_;
};

} // namespace

bool Value::Has(std::string_view key) const
{
    for (const Member& member : members)
        if (member.key == key)
            return true;
    return false;
}

const Value& Value::at(std::string_view key) const
{
    for (const Member& member : members)
        if (member.key == key)
            return member.value;
    throw std::out_of_range("no member \"" + std::string(key) + "\"");
}

const Value& Value::at(std::size_t index) const
{
    if (index >= items.size())
        throw std::out_of_range("no item " + std::to_string(index));
    return items[index];
}

std::vector<std::string> Value::Keys() const
{
    std::vector<std::string> keys;
    for (const Member& member : members)
        keys.push_back(member.key);
    return keys;
}

std::optional<uint32_t> Value::AsUint32() const
{
    if (kind != Kind::Number || text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<Value> Parse(std::string_view document, std::string* error)
{
    return Reader(document).Document(error);
}

} // namespace json
