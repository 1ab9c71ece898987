// The template reader over templates that windres wrote into the test library.
#include "layout/DialogTemplate.h"
#include "template_ids.h"
#include "test_library.h"

#include <gtest/gtest.h>

#include <vector>

using namespace layout;

namespace {

ParsedTemplate Parse(int id)
{
    ParsedTemplate parsed;
    const auto bytes = TemplateBytes(id);
    EXPECT_FALSE(bytes.empty()) << "template " << id;
    EXPECT_EQ(ParseTemplate(bytes, parsed), TemplateStatus::Ok) << "template " << id;
    return parsed;
}

void ExpectOrdinal(const ParsedField& field, std::uint16_t ordinal)
{
    EXPECT_EQ(field.kind, FieldKind::Ordinal);
    EXPECT_EQ(field.ordinal, ordinal);
}

void ExpectText(const ParsedField& field, const std::u16string& text)
{
    EXPECT_EQ(field.kind, FieldKind::Text);
    EXPECT_EQ(field.text, text);
}

std::vector<std::uint8_t> Copy(int id)
{
    const auto bytes = TemplateBytes(id);
    return {bytes.begin(), bytes.end()};
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value)
{
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

const int kAllStandardTemplates[] = {IDT_EMPTY,          IDT_FONT,        IDT_ORDINALS,    IDT_NAMES,
                                     IDT_CREATION_DATA,  IDT_HEADER_ORDINALS, IDT_PORTRAIT, IDT_LANDSCAPE,
                                     IDT_ONE_UNNAMED,    IDT_TWO_UNNAMED, IDT_UNKNOWN_ID, IDT_WORKED_EXAMPLE,
                                     IDT_DATA_TARGET};

}  // namespace

TEST(TemplateReader, EmptyTemplateWithoutFont)
{
    const ParsedTemplate t = Parse(IDT_EMPTY);
    EXPECT_EQ(t.style, static_cast<std::uint32_t>(WS_POPUP));
    EXPECT_FALSE(t.hasFont);
    EXPECT_EQ(t.menu.kind, FieldKind::Empty);
    EXPECT_EQ(t.windowClass.kind, FieldKind::Empty);
    EXPECT_EQ(t.title.kind, FieldKind::Empty);
    EXPECT_TRUE(t.items.empty());
    EXPECT_EQ(TemplateBytes(IDT_EMPTY).size(), 24u);
}

TEST(TemplateReader, FontFieldsComeBeforeTheFirstItem)
{
    const ParsedTemplate t = Parse(IDT_FONT);
    EXPECT_TRUE(t.hasFont);
    EXPECT_EQ(t.pointSize, 8);
    ExpectText(t.typeface, u"MS Sans Serif");
    ExpectText(t.title, u"Caption");
    EXPECT_EQ(t.x, 1);
    EXPECT_EQ(t.y, 2);
    EXPECT_EQ(t.cx, 120);
    EXPECT_EQ(t.cy, 60);
    ASSERT_EQ(t.items.size(), 1u);
    // 18 fixed bytes, empty menu and class (2 + 2), "Caption" (16), point size (2),
    // "MS Sans Serif" (28): 68, already a multiple of 4.
    EXPECT_EQ(t.items[0].offset, 68u);
    EXPECT_EQ(t.items[0].id, 7);
    EXPECT_EQ(t.items[0].x, 10);
    EXPECT_EQ(t.items[0].y, 20);
    EXPECT_EQ(t.items[0].cx, 30);
    EXPECT_EQ(t.items[0].cy, 40);
    ExpectOrdinal(t.items[0].windowClass, kStaticClass);
    ExpectText(t.items[0].title, u"T");
}

TEST(TemplateReader, OrdinalAndTextFields)
{
    const ParsedTemplate t = Parse(IDT_ORDINALS);
    ExpectOrdinal(t.menu, 5);
    ExpectOrdinal(t.windowClass, 0x8002);
    ExpectText(t.title, u"Hi");
    EXPECT_FALSE(t.hasFont);
    ASSERT_EQ(t.items.size(), 4u);

    ExpectOrdinal(t.items[0].windowClass, kButtonClass);
    ExpectText(t.items[0].title, u"Push");
    ExpectOrdinal(t.items[1].windowClass, kStaticClass);
    EXPECT_EQ(t.items[1].title.kind, FieldKind::Empty);
    EXPECT_EQ(t.items[2].windowClass.kind, FieldKind::Text);
    EXPECT_FALSE(t.items[2].windowClass.text.empty());
    ExpectText(t.items[2].title, u"Cls");
    ExpectOrdinal(t.items[3].windowClass, kStaticClass);
    ExpectOrdinal(t.items[3].title, IDI_SQUARE);
    EXPECT_EQ(t.items[3].style & 0x1F, static_cast<std::uint32_t>(SS_ICON));

    for (std::size_t i = 0; i < t.items.size(); ++i) {
        EXPECT_EQ(t.items[i].offset % 4, 0u) << i;
        EXPECT_EQ(t.items[i].id, 21 + i);
        EXPECT_EQ(t.items[i].x, static_cast<std::int16_t>(1 + 4 * i));
        EXPECT_EQ(t.items[i].creationDataCount, 0);
    }
}

TEST(TemplateReader, NamedMenuAndClassWithEmptyTitle)
{
    const ParsedTemplate t = Parse(IDT_NAMES);
    EXPECT_EQ(t.menu.kind, FieldKind::Text);
    EXPECT_EQ(t.menu.text.size(), 5u);
    // windres writes class names in capitals.
    EXPECT_EQ(t.windowClass.kind, FieldKind::Text);
    EXPECT_EQ(t.windowClass.text.size(), 15u);
    EXPECT_EQ(t.title.kind, FieldKind::Empty);
    EXPECT_TRUE(t.hasFont);
    EXPECT_EQ(t.pointSize, 9);
    ExpectText(t.typeface, u"Tahoma");
    EXPECT_TRUE(t.items.empty());
}

TEST(TemplateReader, HeaderOrdinalsEverywhere)
{
    const ParsedTemplate t = Parse(IDT_HEADER_ORDINALS);
    ExpectOrdinal(t.menu, 5);
    ExpectOrdinal(t.windowClass, 0x8002);
    ExpectOrdinal(t.title, 7);
    EXPECT_TRUE(t.hasFont);
    EXPECT_EQ(t.pointSize, 9);
    ExpectOrdinal(t.typeface, 3);
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_EQ(t.items[0].offset, 36u);
    EXPECT_EQ(t.items[0].id, 31);
    ExpectOrdinal(t.items[0].windowClass, kButtonClass);
    ExpectOrdinal(t.items[0].title, 9);
}

TEST(TemplateReader, CreationDataCountsIncludeTheirWord)
{
    const auto bytes = TemplateBytes(IDT_CREATION_DATA);
    ASSERT_EQ(bytes.size(), 110u);
    const ParsedTemplate t = Parse(IDT_CREATION_DATA);
    ASSERT_EQ(t.items.size(), 3u);
    EXPECT_EQ(t.items[0].offset, 24u);
    EXPECT_EQ(t.items[0].creationDataCount, 0);
    // Count 0 at 50: the next item 2 bytes on, at 52.
    EXPECT_EQ(t.items[1].offset, 52u);
    EXPECT_EQ(t.items[1].creationDataCount, 6);
    // Count 6 at 78: the next item 6 bytes on, at 84.
    EXPECT_EQ(t.items[2].offset, 84u);
    ExpectText(t.items[1].title, u"B");
    EXPECT_EQ(t.items[2].title.kind, FieldKind::Empty);
    EXPECT_EQ(t.items[2].id, IDC_DATA_THIRD);
    EXPECT_EQ(t.items[2].cx, 32);

    // The last item ends at the resource's last byte.
    TemplateHeader header;
    std::size_t lastEnd = 0;
    EXPECT_EQ(ForEachItem(bytes, header, [&](const TemplateItem& item) { lastEnd = item.end; }), TemplateStatus::Ok);
    EXPECT_EQ(lastEnd, bytes.size());
}

TEST(TemplateReader, ExtendedFormIsRefused)
{
    const auto bytes = TemplateBytes(IDT_EXTENDED);
    ASSERT_GE(bytes.size(), 4u);
    TemplateHeader header;
    EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::ExtendedForm);
    ParsedTemplate parsed;
    EXPECT_EQ(ParseTemplate(bytes, parsed), TemplateStatus::ExtendedForm);
}

TEST(TemplateReader, EveryTruncationIsRefused)
{
    std::size_t cases = 0;
    for (int id : kAllStandardTemplates) {
        const auto bytes = TemplateBytes(id);
        ASSERT_FALSE(bytes.empty()) << id;
        TemplateHeader header;
        ASSERT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Ok) << id;
        for (std::size_t size = 0; size < bytes.size(); ++size, ++cases) {
            // An exact-size copy, so that a read past the end is a read past the allocation.
            const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_EQ(ValidateTemplate(prefix, header), TemplateStatus::Truncated) << id << " cut at " << size;
            ParsedTemplate parsed;
            parsed.items.resize(1);
            EXPECT_EQ(ParseTemplate(prefix, parsed), TemplateStatus::Truncated) << id << " cut at " << size;
            EXPECT_EQ(parsed.items.size(), 1u) << "a refused template must leave the output alone";
        }
    }
    EXPECT_GT(cases, 1000u);
}

TEST(TemplateReader, DamagedTemplatesAreRefused)
{
    TemplateHeader header;
    {
        // More items than the template holds.
        auto bytes = Copy(IDT_CREATION_DATA);
        PutWord(bytes, 8, 4);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Truncated);
        PutWord(bytes, 8, 0xFFFF);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Truncated);
        // Fewer is fine: the rest is never read.
        PutWord(bytes, 8, 2);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Ok);
    }
    {
        // The last item's creation data runs past the end by one byte, then fits exactly.
        auto bytes = Copy(IDT_CREATION_DATA);
        PutWord(bytes, 108, 3);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Truncated);
        PutWord(bytes, 108, 2);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Ok);
    }
    {
        // The first item's title loses its terminator and runs through the rest.
        auto bytes = Copy(IDT_CREATION_DATA);
        for (std::size_t at = 46; at < bytes.size(); at += 2)
            PutWord(bytes, at, 0x0041);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Truncated);
    }
    {
        // The typeface name never ends.
        auto bytes = Copy(IDT_NAMES);
        for (std::size_t at = 66; at < bytes.size(); at += 2)
            PutWord(bytes, at, 0x0054);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Truncated);
    }
    {
        // The extended signature wins over anything after it.
        std::vector<std::uint8_t> bytes(4);
        PutWord(bytes, 0, 1);
        PutWord(bytes, 2, 0xFFFF);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::ExtendedForm);
    }
    {
        // Padding after the last item is allowed.
        auto bytes = Copy(IDT_CREATION_DATA);
        bytes.resize(bytes.size() + 2);
        EXPECT_EQ(ValidateTemplate(bytes, header), TemplateStatus::Ok);
    }
}

TEST(TemplateReader, VisitsItemsInOrderAndStopsAtTheFault)
{
    auto bytes = Copy(IDT_CREATION_DATA);
    TemplateHeader header;
    std::vector<std::uint16_t> ids;
    EXPECT_EQ(ForEachItem(bytes, header, [&](const TemplateItem& item) { ids.push_back(item.id); }),
              TemplateStatus::Ok);
    EXPECT_EQ(ids, (std::vector<std::uint16_t>{IDC_DATA_FIRST, IDC_DATA_SECOND, IDC_DATA_THIRD}));
    EXPECT_EQ(header.itemCount, 3);

    // The third item cut off: the first two are visited, then the fault is reported.
    bytes.resize(100);
    ids.clear();
    EXPECT_EQ(ForEachItem(bytes, header, [&](const TemplateItem& item) { ids.push_back(item.id); }),
              TemplateStatus::Truncated);
    EXPECT_EQ(ids, (std::vector<std::uint16_t>{IDC_DATA_FIRST, IDC_DATA_SECOND}));
}
