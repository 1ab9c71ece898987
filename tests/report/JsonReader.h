#pragma once
// A strict JSON reader for checking the report's output: RFC 8259 and
// nothing more (no comments, trailing commas, leading zeros, raw control
// characters, invalid UTF-8, lone surrogates or repeated member names).
// Numbers keep their text, so a counter can be checked to the last digit.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace json {

struct Member;

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text; // a number's literal, or a string decoded to UTF-8
    std::vector<Value> items;
    std::vector<Member> members; // in document order

    bool Has(std::string_view key) const;
    // The member of that name; throws std::out_of_range when there is none,
    // which a test reports as a failure naming the key.
    const Value& at(std::string_view key) const;
    const Value& at(std::size_t index) const;
    std::vector<std::string> Keys() const;
    // A number written as a plain unsigned 32-bit integer ("7", not "7.0",
    // "-0", "1e2" or "007").
    std::optional<uint32_t> AsUint32() const;
};

struct Member {
    std::string key;
    Value value;
};

// The document, or nothing with the offset and reason in *error.
std::optional<Value> Parse(std::string_view document, std::string* error = nullptr);

} // namespace json
