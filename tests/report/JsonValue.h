#pragma once
// A JSON document read back with nlohmann-json (strict parse), seen as a tree
// the report tests walk: numbers keep their text, so a counter can be checked
// to the last digit.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace json {

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a number's literal, or a string in UTF-8
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;  // in document order
    bool unsignedInteger = false;

    const Value& at(std::string_view key) const
    {
        for (const auto& [name, value] : members)
            if (name == key)
                return value;
        throw std::out_of_range("no member " + std::string(key));
    }
    const Value& at(std::size_t index) const { return items.at(index); }
    std::vector<std::string> Keys() const
    {
        std::vector<std::string> keys;
        for (const auto& member : members)
            keys.push_back(member.first);
        return keys;
    }
    std::optional<uint32_t> AsUint32() const
    {
        if (kind != Kind::Number || !unsignedInteger || text.size() > 10 || std::stoull(text) > 0xFFFFFFFFull)
            return std::nullopt;
        return static_cast<uint32_t>(std::stoull(text));
    }
};

inline Value From(const nlohmann::ordered_json& j)
{
    Value v;
    switch (j.type()) {
    case nlohmann::ordered_json::value_t::boolean: v.kind = Value::Kind::Bool; v.boolean = j.get<bool>(); break;
    case nlohmann::ordered_json::value_t::number_unsigned:
    case nlohmann::ordered_json::value_t::number_integer:
    case nlohmann::ordered_json::value_t::number_float:
        v.kind = Value::Kind::Number;
        v.text = j.dump();
        v.unsignedInteger = j.is_number_unsigned();
        break;
    case nlohmann::ordered_json::value_t::string: v.kind = Value::Kind::String; v.text = j.get<std::string>(); break;
    case nlohmann::ordered_json::value_t::array:
        v.kind = Value::Kind::Array;
        for (const auto& item : j)
            v.items.push_back(From(item));
        break;
    case nlohmann::ordered_json::value_t::object:
        v.kind = Value::Kind::Object;
        for (const auto& [key, item] : j.items())
            v.members.emplace_back(key, From(item));
        break;
    default: break;
    }
    return v;
}

// The document, or nothing when the text is not strict JSON.
inline std::optional<Value> Parse(std::string_view document)
{
    const auto parsed = nlohmann::ordered_json::parse(document, nullptr, false);
    if (parsed.is_discarded())
        return std::nullopt;
    return From(parsed);
}

}  // namespace json
