// Reader of dialog templates in the standard (DLGTEMPLATE) form.
//
// Plain C++ over bytes, without the platform headers, so that it also builds
// natively for fuzzing. Every read is bounded by the given bytes: the template
// comes from a resource library that anyone can replace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace layout {

enum class TemplateStatus : std::uint8_t {
    Ok,
    Truncated,     // a field, string, item or creation data runs past the end
    ExtendedForm,  // DLGTEMPLATEEX, which the engine does not read
};

enum class FieldKind : std::uint8_t { Empty, Ordinal, Text };

// A variable-length field (menu, class, title, typeface). A text stays in the
// template: textOffset is the byte offset of its first code unit, and the
// terminating zero follows textLength code units later.
struct TemplateField {
    FieldKind kind = FieldKind::Empty;
    std::uint16_t ordinal = 0;
    std::size_t textOffset = 0;
    std::size_t textLength = 0;
};

struct TemplateHeader {
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::uint16_t itemCount = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    TemplateField menu, windowClass, title;
    bool hasFont = false;  // DS_SETFONT
    std::uint16_t pointSize = 0;
    TemplateField typeface;
};

struct TemplateItem {
    std::size_t offset = 0;  // start of the record, a multiple of 4
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::uint16_t id = 0;
    TemplateField windowClass, title;
    std::uint16_t creationDataCount = 0;  // the byte count, which includes its own word
    std::size_t end = 0;                  // one past the record's last byte
};

inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint16_t kUnnamedId = 0xFFFF;

// Predefined class ordinals.
inline constexpr std::uint16_t kButtonClass = 0x0080;
inline constexpr std::uint16_t kEditClass = 0x0081;
inline constexpr std::uint16_t kStaticClass = 0x0082;
inline constexpr std::uint16_t kListBoxClass = 0x0083;
inline constexpr std::uint16_t kScrollBarClass = 0x0084;
inline constexpr std::uint16_t kComboBoxClass = 0x0085;

// One pass over a template, header first, then one item per call. Allocates
// nothing. After a fault every further call repeats it.
class TemplateReader {
public:
    explicit TemplateReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    TemplateStatus ReadHeader(TemplateHeader& header) noexcept;
    // Reads the item after the previous one; the caller counts against itemCount.
    TemplateStatus ReadItem(TemplateItem& item) noexcept;

private:
    bool Word(std::uint16_t& value) noexcept;
    bool Dword(std::uint32_t& value) noexcept;
    bool Field(TemplateField& field) noexcept;
    bool AlignTo4() noexcept;
    TemplateStatus Fail(TemplateStatus status) noexcept;

    std::span<const std::uint8_t> bytes_;
    std::size_t cursor_ = 0;
    TemplateStatus fault_ = TemplateStatus::Ok;
};

// Reads the header and every item, calling visit(const TemplateItem&) for each.
// Stops at the first fault; a template that is not Ok may have been visited in part.
template <typename Visit>
TemplateStatus ForEachItem(std::span<const std::uint8_t> bytes, TemplateHeader& header, Visit&& visit)
{
    TemplateReader reader{bytes};
    if (TemplateStatus s = reader.ReadHeader(header); s != TemplateStatus::Ok)
        return s;
    TemplateItem item;
    for (std::uint32_t i = 0; i < header.itemCount; ++i) {
        if (TemplateStatus s = reader.ReadItem(item); s != TemplateStatus::Ok)
            return s;
        visit(item);
    }
    return TemplateStatus::Ok;
}

// Checks the whole template without acting on it.
TemplateStatus ValidateTemplate(std::span<const std::uint8_t> bytes, TemplateHeader& header) noexcept;

}  // namespace layout
