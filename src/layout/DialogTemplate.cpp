#include "layout/DialogTemplate.h"

namespace layout {

namespace {

constexpr std::size_t kItemFixedBytes = 18;  // style, extended style, x, y, cx, cy, id

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t offset) noexcept
{
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace

TemplateStatus TemplateReader::Fail(TemplateStatus status) noexcept
{
    fault_ = status;
    return status;
}

bool TemplateReader::Word(std::uint16_t& value) noexcept
{
    if (cursor_ > bytes_.size() || bytes_.size() - cursor_ < 2)
        return false;
    value = WordAt(bytes_, cursor_);
    cursor_ += 2;
    return true;
}

bool TemplateReader::Dword(std::uint32_t& value) noexcept
{
    std::uint16_t low = 0, high = 0;
    if (!Word(low) || !Word(high))
        return false;
    value = low | (std::uint32_t{high} << 16);
    return true;
}

bool TemplateReader::Field(TemplateField& field) noexcept
{
    field = TemplateField{};
    std::uint16_t first = 0;
    if (!Word(first))
        return false;
    if (first == 0xFFFF) {
        field.kind = FieldKind::Ordinal;
        return Word(field.ordinal);
    }
    if (first == 0)
        return true;
    // A text runs through its terminating zero word, which must lie inside.
    field.kind = FieldKind::Text;
    field.textOffset = cursor_ - 2;
    std::uint16_t unit = first;
    while (unit != 0) {
        ++field.textLength;
        if (!Word(unit))
            return false;
    }
    return true;
}

bool TemplateReader::AlignTo4() noexcept
{
    cursor_ = (cursor_ + 3) & ~std::size_t{3};
    return cursor_ <= bytes_.size();
}

TemplateStatus TemplateReader::ReadHeader(TemplateHeader& header) noexcept
{
    header = TemplateHeader{};
    cursor_ = 0;
    fault_ = TemplateStatus::Ok;
    // DLGTEMPLATEEX carries its signature where the standard form has the style's high word.
    if (bytes_.size() >= 4 && WordAt(bytes_, 2) == 0xFFFF)
        return Fail(TemplateStatus::ExtendedForm);

    std::uint16_t x = 0, y = 0, cx = 0, cy = 0;
    if (!Dword(header.style) || !Dword(header.extendedStyle) || !Word(header.itemCount) || !Word(x)
        || !Word(y) || !Word(cx) || !Word(cy))
        return Fail(TemplateStatus::Truncated);
    header.x = static_cast<std::int16_t>(x);
    header.y = static_cast<std::int16_t>(y);
    header.cx = static_cast<std::int16_t>(cx);
    header.cy = static_cast<std::int16_t>(cy);
    if (!Field(header.menu) || !Field(header.windowClass) || !Field(header.title))
        return Fail(TemplateStatus::Truncated);
    if (header.style & kDsSetFont) {
        header.hasFont = true;
        if (!Word(header.pointSize) || !Field(header.typeface))
            return Fail(TemplateStatus::Truncated);
    }
    return TemplateStatus::Ok;
}

TemplateStatus TemplateReader::ReadItem(TemplateItem& item) noexcept
{
    if (fault_ != TemplateStatus::Ok)
        return fault_;
    item = TemplateItem{};
    if (!AlignTo4() || bytes_.size() - cursor_ < kItemFixedBytes)
        return Fail(TemplateStatus::Truncated);
    item.offset = cursor_;

    std::uint16_t x = 0, y = 0, cx = 0, cy = 0;
    Dword(item.style);
    Dword(item.extendedStyle);
    Word(x);
    Word(y);
    Word(cx);
    Word(cy);
    Word(item.id);
    item.x = static_cast<std::int16_t>(x);
    item.y = static_cast<std::int16_t>(y);
    item.cx = static_cast<std::int16_t>(cx);
    item.cy = static_cast<std::int16_t>(cy);

    if (!Field(item.windowClass) || !Field(item.title))
        return Fail(TemplateStatus::Truncated);

    // The count includes its own word; the next record begins that many bytes
    // after the count's start (2 when the count is 0), aligned up later.
    const std::size_t dataStart = cursor_;
    if (!Word(item.creationDataCount))
        return Fail(TemplateStatus::Truncated);
    const std::size_t count = item.creationDataCount;
    if (count > bytes_.size() - dataStart)
        return Fail(TemplateStatus::Truncated);
    item.end = dataStart + (count > 2 ? count : 2);
    cursor_ = count == 0 ? dataStart + 2 : dataStart + count;
    return TemplateStatus::Ok;
}

TemplateStatus ValidateTemplate(std::span<const std::uint8_t> bytes, TemplateHeader& header) noexcept
{
    return ForEachItem(bytes, header, [](const TemplateItem&) noexcept {});
}

}  // namespace layout
