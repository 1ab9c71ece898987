// The dialog template reader over templates windres wrote into the test
// library, whole, cut short and damaged.
#include "layout/DialogTemplate.h"
#include "TestLibrary.h"

#include <gtest/gtest.h>

using namespace layout;

namespace {

std::string Field(std::span<const std::uint8_t> bytes, const TemplateField& f)
{
    std::string text = f.kind == FieldKind::Ordinal ? "#" + std::to_string(f.ordinal) : f.kind == FieldKind::Text ? "'" : "-";
    for (std::size_t i = 0; f.kind == FieldKind::Text && i < f.textLength; ++i)
        text += static_cast<char>(bytes[f.textOffset + 2 * i]);
    return f.kind == FieldKind::Text ? text + "'" : text;
}

// The header and every item as text: where each item starts, its id, class,
// title, rectangle and creation data.
std::vector<std::string> Describe(std::span<const std::uint8_t> bytes)
{
    TemplateHeader h;
    std::vector<std::string> lines{""};
    const TemplateStatus status = ForEachItem(bytes, h, [&](const TemplateItem& i) {
        lines.push_back(std::to_string(i.offset) + " id " + std::to_string(i.id) + " " + Field(bytes, i.windowClass) + " " + Field(bytes, i.title) + " (" +
                        std::to_string(i.x) + "," + std::to_string(i.y) + "," + std::to_string(i.cx) + "," + std::to_string(i.cy) + ") data " +
                        std::to_string(i.creationDataCount));
    });
    lines[0] = "menu " + Field(bytes, h.menu) + " class " + Field(bytes, h.windowClass) + " title " + Field(bytes, h.title) +
               (h.hasFont ? " font " + std::to_string(h.pointSize) + " " + Field(bytes, h.typeface) : "") + (status == TemplateStatus::Ok ? "" : " refused");
    return lines;
}

TEST(TemplateReader, ReadsEveryKindOfField)
{
    const std::pair<int, std::vector<std::string>> cases[] = {
        {IDT_EMPTY, {"menu - class - title -"}},
        // windres writes an ICON statement's size as 0 x 0.
        {IDT_ORDINALS, {"menu #5 class #32770 title 'Hi'", "32 id 21 #128 'Push' (1,2,3,4) data 0", "68 id 22 #130 - (5,6,7,8) data 0",
                        "96 id 23 'ORVANETESTCLASS' 'Cls' (9,10,11,12) data 0", "156 id 24 #130 #1 (13,14,0,0) data 0"}},
        {IDT_NAMES, {"menu 'NAMED' class 'ORVANECLASSNAME' title - font 9 'Tahoma'"}},
        // A data count of 0 puts the next item 2 bytes on, one of 6 six bytes on, aligned to 4.
        {IDT_CREATION_DATA, {"menu - class - title -", "24 id 201 #130 'A' (1,2,30,10) data 0", "52 id 202 #130 'B' (3,4,31,11) data 6", "84 id 203 #130 - (5,6,32,12) data 0"}},
        {IDT_HEADER_ORDINALS, {"menu #5 class #32770 title #7 font 9 #3", "36 id 31 #128 #9 (1,2,3,4) data 0"}},
    };
    for (const auto& [id, expected] : cases)
        EXPECT_EQ(Describe(TemplateBytes(id)), expected) << "template " << id;
    TemplateHeader header;
    EXPECT_EQ(std::tuple(TemplateBytes(IDT_EMPTY).size(), ValidateTemplate(TemplateBytes(IDT_EMPTY), header), ValidateTemplate(TemplateBytes(IDT_EXTENDED), header)),
              std::tuple(24u, TemplateStatus::Ok, TemplateStatus::ExtendedForm));
}

TEST(TemplateReader, RefusesWhatRunsPastItsEnd)
{
    for (int id = IDT_EMPTY; id <= IDT_DATA_TARGET; ++id) {
        const auto bytes = TemplateBytes(id);
        const std::vector<std::string> whole = Describe(bytes);
        for (std::size_t size = 0; id != IDT_EXTENDED && size < bytes.size(); ++size) {
            // An exact-size copy, so that a read past the end leaves the allocation.
            const std::vector<std::string> seen = Describe(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
            EXPECT_TRUE(seen[0].ends_with(" refused")) << id << " cut at " << size;
            for (std::size_t i = 1; i < seen.size(); ++i)  // what was visited before the fault is what the whole template holds
                EXPECT_EQ(seen[i], whole.at(i)) << id << " cut at " << size;
        }
    }
    const auto put = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t value, std::size_t until = 0) {
        for (const std::size_t end = std::max(at + 2, until); at < end; at += 2)
            b[at] = static_cast<std::uint8_t>(value), b[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    const struct {
        const char* what;
        int id;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        TemplateStatus expected;
    } damaged[] = {
        {"more items than it holds", IDT_CREATION_DATA, [&](auto& b) { put(b, 8, 4); }, TemplateStatus::Truncated},
        {"65535 items", IDT_CREATION_DATA, [&](auto& b) { put(b, 8, 0xFFFF); }, TemplateStatus::Truncated},
        {"fewer items: the rest is never read", IDT_CREATION_DATA, [&](auto& b) { put(b, 8, 2); }, TemplateStatus::Ok},
        {"creation data a byte past the end", IDT_CREATION_DATA, [&](auto& b) { put(b, 108, 3); }, TemplateStatus::Truncated},
        {"creation data up to the end", IDT_CREATION_DATA, [&](auto& b) { put(b, 108, 2); }, TemplateStatus::Ok},
        {"a title without its terminator", IDT_CREATION_DATA, [&](auto& b) { put(b, 46, 0x41, b.size()); }, TemplateStatus::Truncated},
        {"a typeface without its terminator", IDT_NAMES, [&](auto& b) { put(b, 66, 0x54, b.size()); }, TemplateStatus::Truncated},
        {"padding after the last item", IDT_CREATION_DATA, [](auto& b) { b.resize(b.size() + 2); }, TemplateStatus::Ok},
        {"the extended signature wins", IDT_EMPTY, [&](auto& b) { put(b, 0, 1), put(b, 2, 0xFFFF); }, TemplateStatus::ExtendedForm},
    };
    for (const auto& d : damaged) {
        auto bytes = TemplateBytes(d.id);
        d.damage(bytes);
        TemplateHeader header;
        EXPECT_EQ(ValidateTemplate(bytes, header), d.expected) << d.what;
    }
}

}  // namespace
