// libFuzzer target for the dialog template reader: whatever the bytes, it
// reads only inside them, and what it reports holds together.
#include "layout/DialogTemplate.h"

#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckField(const layout::TemplateField& field, std::size_t size)
{
    if (field.kind == layout::FieldKind::Text) {
        Require(field.textLength > 0);
        Require(field.textOffset % 2 == 0);
        // The text and its terminating zero lie inside.
        Require(field.textOffset + 2 * (field.textLength + 1) <= size);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes{data, size};
    layout::TemplateHeader header;
    std::size_t visited = 0;
    std::size_t previousEnd = 0;
    const layout::TemplateStatus status = layout::ForEachItem(bytes, header, [&](const layout::TemplateItem& item) {
        Require(item.offset % 4 == 0);
        Require(item.offset >= previousEnd);
        Require(item.end <= size);
        Require(item.end >= item.offset + 24);
        CheckField(item.windowClass, size);
        CheckField(item.title, size);
        previousEnd = item.end;
        ++visited;
    });

    layout::TemplateHeader checked;
    Require(layout::ValidateTemplate(bytes, checked) == status);
    if (status == layout::TemplateStatus::Ok) {
        Require(visited == header.itemCount);
        CheckField(header.menu, size);
        CheckField(header.windowClass, size);
        CheckField(header.title, size);
        CheckField(header.typeface, size);
        Require(header.hasFont == ((header.style & layout::kDsSetFont) != 0));
    } else {
        Require(visited <= header.itemCount);
    }
    if (size >= 4 && data[2] == 0xFF && data[3] == 0xFF)
        Require(status == layout::TemplateStatus::ExtendedForm);
    return 0;
}
