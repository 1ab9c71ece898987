// The template reader and the relayout over the test library's templates (reading no byte outside is the fuzz
// target's).
#include "TestLibrary.h"
#include "layout/DialogTemplate.h"
#include "layout/Relayout.h"
#include "layout/RelayoutInternal.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <sstream>

using namespace layout;
using test::ChildRect;
using test::WindowText;

namespace {

std::string Field(std::span<const std::uint8_t> bytes, const TemplateField& f)
{
    if (f.kind != FieldKind::Text)
        return f.kind == FieldKind::Ordinal ? "#" + std::to_string(f.ordinal) : "-";
    std::string text = "'";
    for (std::size_t i = 0; i < f.textLength; ++i)
        text += static_cast<char>(bytes[f.textOffset + 2 * i]);
    return text + "'";
}

// The header, then each item: offset, id, class, title, rectangle, creation data.
std::vector<std::string> Describe(std::span<const std::uint8_t> bytes)
{
    TemplateHeader h;
    std::vector<std::string> lines{""};
    const TemplateStatus status = ForEachItem(bytes, h, [&](const TemplateItem& i) {
        std::ostringstream line;
        line << i.offset << " id " << i.id << " " << Field(bytes, i.windowClass) << " " << Field(bytes, i.title) << " ("
             << i.x << "," << i.y << "," << i.cx << "," << i.cy << ") data " << i.creationDataCount;
        lines.push_back(line.str());
    });
    std::ostringstream header;
    header << "menu " << Field(bytes, h.menu) << " class " << Field(bytes, h.windowClass) << " title "
           << Field(bytes, h.title);
    if (h.hasFont)
        header << " font " << h.pointSize << " " << Field(bytes, h.typeface);
    lines[0] = header.str() + (status == TemplateStatus::Ok ? "" : " refused");
    return lines;
}

TEST(TemplateReader, ReadsEveryKindOfField)
{
    const std::pair<int, std::vector<std::string>> cases[] = {
        {IDT_EMPTY, {"menu - class - title -"}},
        // windres writes an ICON statement's size as 0 x 0.
        {IDT_ORDINALS, {"menu #5 class #32770 title 'Hi'", "32 id 21 #128 'Push' (1,2,3,4) data 0",
                        "68 id 22 #130 - (5,6,7,8) data 0", "96 id 23 'ORVANETESTCLASS' 'Cls' (9,10,11,12) data 0",
                        "156 id 24 #130 #1 (13,14,0,0) data 0"}},
        {IDT_NAMES, {"menu 'NAMED' class 'ORVANECLASSNAME' title - font 9 'Tahoma'"}},
        // A data count of 0 puts the next item 2 bytes on, one of 6 six bytes on, aligned to 4.
        {IDT_CREATION_DATA, {"menu - class - title -", "24 id 201 #130 'A' (1,2,30,10) data 0",
                             "52 id 202 #130 'B' (3,4,31,11) data 6", "84 id 203 #130 - (5,6,32,12) data 0"}},
        {IDT_HEADER_ORDINALS, {"menu #5 class #32770 title #7 font 9 #3", "36 id 31 #128 #9 (1,2,3,4) data 0"}},
    };
    for (const auto& [id, expected] : cases)
        EXPECT_EQ(Describe(TemplateBytes(id)), expected) << "template " << id;
}

TEST(TemplateReader, RefusesWhatRunsPastItsEnd)
{
    const auto put = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t value, std::size_t until = 0) {
        for (const std::size_t end = std::max(at + 2, until); at < end; at += 2)
            b[at] = static_cast<std::uint8_t>(value), b[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    using enum TemplateStatus;
    const struct {
        const char* what;
        int id;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        TemplateStatus expected;
    } damaged[] = {
        {"cut in its header", IDT_NAMES, [](auto& b) { b.resize(20); }, Truncated},
        {"cut in its last item", IDT_ORDINALS, [](auto& b) { b.resize(b.size() - 4); }, Truncated},
        {"more items than it holds", IDT_CREATION_DATA, [&](auto& b) { put(b, 8, 4); }, Truncated},
        {"fewer items: the rest is never read", IDT_CREATION_DATA, [&](auto& b) { put(b, 8, 2); }, Ok},
        {"creation data a byte past the end", IDT_CREATION_DATA, [&](auto& b) { put(b, 108, 3); }, Truncated},
        {"creation data up to the end", IDT_CREATION_DATA, [&](auto& b) { put(b, 108, 2); }, Ok},
        {"a title without its terminator", IDT_CREATION_DATA, [&](auto& b) { put(b, 46, 0x41, b.size()); }, Truncated},
        {"a typeface without its terminator", IDT_NAMES, [&](auto& b) { put(b, 66, 0x54, b.size()); }, Truncated},
        {"the extended signature wins", IDT_EMPTY, [&](auto& b) { put(b, 0, 1), put(b, 2, 0xFFFF); }, ExtendedForm},
    };
    for (const auto& d : damaged) {
        auto bytes = TemplateBytes(d.id);
        d.damage(bytes);
        TemplateHeader header;
        EXPECT_EQ(ValidateTemplate(bytes, header), d.expected) << d.what;
    }
}

void ExpectInPlace(HWND dialog, int templateId) { test::ExpectAtTemplate(dialog, TemplateLibrary(), templateId); }

// Each child out of its place, each to a spot of its own.
void Scatter(HWND dialog)
{
    int i = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++i)
        SetWindowPos(child, nullptr, 211 + 7 * i, 157 + 5 * i, 13 + i, 9 + i, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Place, text and images of every child.
std::vector<std::tuple<RECT, std::wstring, LRESULT, LRESULT>> Snapshot(HWND dialog)
{
    std::vector<std::tuple<RECT, std::wstring, LRESULT, LRESULT>> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.emplace_back(ChildRect(c), WindowText(c), SendMessageW(c, STM_GETIMAGE, IMAGE_ICON, 0),
                              SendMessageW(c, STM_GETIMAGE, IMAGE_BITMAP, 0));
    return children;
}

TEST(Relayout, ControlsGoToTheRectanglesOfEitherTemplate)
{
    Dialog dialog(IDT_PORTRAIT);
    HWND first = GetDlgItem(dialog, 0xFFFF), second = GetWindow(first, GW_HWNDNEXT);
    Scatter(dialog);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_LANDSCAPE), 1)
        << "one unnamed item; an id without a control stops nothing";
    ExpectInPlace(dialog, IDT_LANDSCAPE);
    EXPECT_EQ(ChildRect(first), test::TemplateRects(dialog, TemplateLibrary(), IDT_LANDSCAPE).at(0xFFFF));
    EXPECT_EQ(WindowText(first), L"Lone");
    const RECT secondAt = ChildRect(second);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_PORTRAIT), 0) << "two unnamed items, applied anyway";
    ExpectInPlace(dialog, IDT_PORTRAIT);
    // Both unnamed items went to the first unnamed control, the later last.
    EXPECT_EQ(std::tuple(WindowText(first), ChildRect(second)), std::tuple(std::wstring(L"Second"), secondAt));
    RECT base{0, 0, 4, 8};  // the worked example, (10, 20) size (50, 12), on the dialog's own base units
    ASSERT_TRUE(MapDialogRect(dialog, &base));
    const auto x = [&](int units) { return MulDiv(units, base.right, 4); };
    const auto y = [&](int units) { return MulDiv(units, base.bottom, 8); };
    EXPECT_EQ(ChildRect(GetDlgItem(dialog, IDC_LABEL)), (RECT{x(10), y(20), x(60), y(32)}));
}

LRESULT CALLBACK CountSelections(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR count)
{
    *reinterpret_cast<int*>(count) += msg == LB_SETCURSEL || msg == CB_SETCURSEL;
    return DefSubclassProc(w, msg, wp, lp);
}

TEST(Relayout, ContentComesBackFromTheTemplate)
{
    Dialog dialog(IDT_PORTRAIT);
    for (int id : {IDC_LABEL, IDC_BUTTON, IDC_NAMED_CLASS, IDC_EDIT})
        SetDlgItemTextW(dialog, id, L"changed");
    HWND icon = GetDlgItem(dialog, IDC_ICON_STATIC), bitmap = GetDlgItem(dialog, IDC_BITMAP);
    HWND list = GetDlgItem(dialog, IDC_LIST), combo = GetDlgItem(dialog, IDC_COMBO);
    HICON ownIcon = CopyIcon(LoadIconW(TemplateLibrary(), MAKEINTRESOURCEW(IDI_SQUARE)));
    SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(ownIcon));
    HBITMAP ownBitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    const auto set = SendMessageW(bitmap, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(ownBitmap));
    DeleteObject(reinterpret_cast<HBITMAP>(set));
    for (int i = 0; i < 30; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row")),
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    int selections = 0;
    SetWindowSubclass(list, CountSelections, 1, reinterpret_cast<DWORD_PTR>(&selections));
    SetWindowSubclass(combo, CountSelections, 1, reinterpret_cast<DWORD_PTR>(&selections));
    RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_LANDSCAPE);
    // Statics and buttons of a predefined class get their text back; named classes and edits keep theirs.
    std::vector<std::wstring> texts;
    for (int id : {IDC_LABEL, IDC_BUTTON, IDC_NAMED_CLASS, IDC_EDIT})
        texts.push_back(WindowText(GetDlgItem(dialog, id)));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Host", L"Go!", L"changed", L"changed"}));
    // Images are loaded anew and the replaced ones destroyed; no selection: none set.
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(ownIcon, &info)) << "the replaced icon lives on";
    const auto shown = reinterpret_cast<HGDIOBJ>(SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ(GetObjectType(shown), DWORD{OBJ_BITMAP}) << "the template's bitmap";
    EXPECT_EQ(GetObjectType(ownBitmap), 0u) << "the replaced bitmap lives on";
    EXPECT_EQ(selections, 0) << "no selection set where there was none";
    SendMessageW(list, LB_SETCURSEL, 25, 0);  // a selection: set again, items kept
    SendMessageW(combo, CB_SETCURSEL, 17, 0);
    selections = 0;
    RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_PORTRAIT);
    EXPECT_EQ(selections, 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 25);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 30);
    // The template's icon again, already shown: it must stay alive.
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0)), &info));
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
    RemoveWindowSubclass(list, CountSelections, 1), RemoveWindowSubclass(combo, CountSelections, 1);
}

TEST(Relayout, TemplatesThatCannotBeReadChangeNothing)
{
    Dialog dialog(IDT_PORTRAIT);
    Scatter(dialog);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SetWindowTextW(c, L"changed");
    const auto before = Snapshot(dialog);
    const HMODULE library = TemplateLibrary();
    for (const auto& [module, id, result] : {std::tuple{library, IDT_EMPTY, 1}, {library, IDT_MISSING, 0},
                                             {library, IDT_EXTENDED, 0}, {HMODULE{}, IDT_LANDSCAPE, 0}}) {
        EXPECT_EQ(RelayoutFromTemplate(module, dialog, id), result) << id;
        EXPECT_EQ(Snapshot(dialog), before) << id;
    }
    const auto bytes = TemplateBytes(IDT_LANDSCAPE);  // cut in its last item: the reader refuses it all
    EXPECT_EQ(RelayoutFromBytes(library, dialog, std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 4)), 0);
    EXPECT_EQ(Snapshot(dialog), before) << "cut short";
}

TEST(Relayout, ARefusedBatchStillMovesEveryControl)
{
    Dialog dialog(IDT_PORTRAIT);
    Scatter(dialog);
    WindowMoves refused{nullptr};
    EXPECT_EQ(ApplyTemplateItems(TemplateLibrary(), dialog, TemplateBytes(IDT_LANDSCAPE), refused), 1);
    ExpectInPlace(dialog, IDT_LANDSCAPE);
}

}  // namespace
