// The relayout engine on live dialogs made from the test library's templates.
#include "layout/Relayout.h"
#include "layout/RelayoutInternal.h"
#include "TestLibrary.h"

#include <commctrl.h>

#include <gtest/gtest.h>

using namespace layout;
using test::ChildRect;
using test::WindowText;

namespace {

// Every named control at the rectangle the template gives its id; a
// drop-down combo box keeps its closed height.
void ExpectInPlace(HWND dialog, int templateId)
{
    for (auto [id, expected] : test::TemplateRects(dialog, TemplateLibrary(), templateId)) {
        if (HWND control = GetDlgItem(dialog, id); control && id != 0xFFFF) {
            expected.bottom = test::ClassOf(control) == L"ComboBox" ? ChildRect(control).bottom : expected.bottom;
            EXPECT_EQ(ChildRect(control), expected) << id;
        }
    }
}

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
        children.emplace_back(ChildRect(c), WindowText(c), SendMessageW(c, STM_GETIMAGE, IMAGE_ICON, 0), SendMessageW(c, STM_GETIMAGE, IMAGE_BITMAP, 0));
    return children;
}

TEST(Relayout, ControlsGoToTheRectanglesOfEitherTemplate)
{
    Dialog dialog(IDT_PORTRAIT);
    HWND first = GetDlgItem(dialog, 0xFFFF), second = GetWindow(first, GW_HWNDNEXT);
    const auto created = Snapshot(dialog);
    Scatter(dialog);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_LANDSCAPE), 1) << "one unnamed item; an id without a control stops nothing";
    ExpectInPlace(dialog, IDT_LANDSCAPE);
    EXPECT_EQ(std::tuple(ChildRect(first), WindowText(first)), std::tuple(test::TemplateRects(dialog, TemplateLibrary(), IDT_LANDSCAPE).at(0xFFFF), std::wstring(L"Lone")));
    const RECT secondAt = ChildRect(second);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_PORTRAIT), 0) << "two unnamed items, applied all the same";
    ExpectInPlace(dialog, IDT_PORTRAIT);
    // Both unnamed items moved the first unnamed control, the later last; the
    // others are where the dialog manager put them, which maps position and
    // size each on its own where the engine maps corners: sizes within a pixel.
    EXPECT_EQ(std::tuple(WindowText(first), ChildRect(second)), std::tuple(std::wstring(L"Second"), secondAt));
    const auto back = Snapshot(dialog);
    for (std::size_t i = 0; i + 2 < back.size(); ++i) {
        const auto &[was, text, icon, bitmap] = created[i];
        const RECT now = std::get<0>(back[i]);
        EXPECT_EQ(std::tuple(now.left, now.top), std::tuple(was.left, was.top)) << i;
        EXPECT_TRUE(icon || bitmap || (std::abs(now.right - was.right) <= 1 && std::abs(now.bottom - was.bottom) <= 1)) << i;  // images took their size
    }
    // The worked example: (10, 20) size (50, 12) in dialog units is, on base
    // units of 8 x 16 pixels, (20, 40) size 100 x 24; here on the dialog's own.
    Dialog example(IDT_WORKED_EXAMPLE);
    RECT base{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(example, &base));
    HWND label = GetDlgItem(example, IDC_LABEL);
    SetWindowPos(label, nullptr, 1, 1, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), example, IDT_WORKED_EXAMPLE), 1);
    EXPECT_EQ(ChildRect(label), (RECT{MulDiv(10, base.right, 4), MulDiv(20, base.bottom, 8), MulDiv(60, base.right, 4), MulDiv(32, base.bottom, 8)}));
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
    HWND icon = GetDlgItem(dialog, IDC_ICON_STATIC), bitmap = GetDlgItem(dialog, IDC_BITMAP), list = GetDlgItem(dialog, IDC_LIST), combo = GetDlgItem(dialog, IDC_COMBO);
    HICON ownIcon = CopyIcon(LoadIconW(TemplateLibrary(), MAKEINTRESOURCEW(IDI_SQUARE)));
    SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(ownIcon));
    HBITMAP ownBitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    DeleteObject(reinterpret_cast<HBITMAP>(SendMessageW(bitmap, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(ownBitmap))));
    for (int i = 0; i < 30; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row")), SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    int selections = 0;
    SetWindowSubclass(list, CountSelections, 1, reinterpret_cast<DWORD_PTR>(&selections));
    SetWindowSubclass(combo, CountSelections, 1, reinterpret_cast<DWORD_PTR>(&selections));
    RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_LANDSCAPE);
    // Statics and buttons of a predefined class get their text back; a class
    // given by name and edit controls keep theirs.
    std::vector<std::wstring> texts;
    for (int id : {IDC_LABEL, IDC_BUTTON, IDC_NAMED_CLASS, IDC_EDIT})
        texts.push_back(WindowText(GetDlgItem(dialog, id)));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Host", L"Go!", L"changed", L"changed"}));
    // Images are loaded anew and the replaced ones destroyed; no selection: none set.
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(ownIcon, &info)) << "the replaced icon lives on";
    EXPECT_EQ(std::tuple(GetObjectType(reinterpret_cast<HGDIOBJ>(SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0))), GetObjectType(ownBitmap), selections),
              std::tuple(DWORD{OBJ_BITMAP}, 0u, 0)) << "the replaced bitmap lives on";
    SendMessageW(list, LB_SETCURSEL, 25, 0);  // a selection: set again, items kept
    SendMessageW(combo, CB_SETCURSEL, 17, 0);
    selections = 0;
    RelayoutFromTemplate(TemplateLibrary(), dialog, IDT_PORTRAIT);
    EXPECT_EQ(std::tuple(selections, SendMessageW(list, LB_GETCURSEL, 0, 0), SendMessageW(combo, CB_GETCOUNT, 0, 0)), std::tuple(2, LRESULT{25}, LRESULT{30}));
    // The template's icon again, already shown: it must stay alive.
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0)), &info));
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
    RemoveWindowSubclass(list, CountSelections, 1), RemoveWindowSubclass(combo, CountSelections, 1);

    Dialog target(IDT_DATA_TARGET);  // items after creation data of either length; an empty title empties the text
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), target, IDT_CREATION_DATA), 1);
    ExpectInPlace(target, IDT_CREATION_DATA);
    EXPECT_EQ(std::tuple(WindowText(GetDlgItem(target, IDC_DATA_FIRST)), WindowText(GetDlgItem(target, IDC_DATA_SECOND)), WindowText(GetDlgItem(target, IDC_DATA_THIRD))),
              std::tuple(std::wstring(L"A"), std::wstring(L"B"), std::wstring()));
}

TEST(Relayout, TemplatesThatCannotBeReadChangeNothing)
{
    for (const auto& [live, applied] : {std::pair{IDT_PORTRAIT, IDT_LANDSCAPE}, {IDT_DATA_TARGET, IDT_CREATION_DATA}}) {
        Dialog dialog(live);
        Scatter(dialog);
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            SetWindowTextW(c, L"changed");
        const auto before = Snapshot(dialog);
        for (const auto& [module, id, result] : {std::tuple{TemplateLibrary(), IDT_EMPTY, 1}, {TemplateLibrary(), IDT_MISSING, 0}, {TemplateLibrary(), IDT_EXTENDED, 0}, {HMODULE{}, applied, 0}}) {
            EXPECT_EQ(RelayoutFromTemplate(module, dialog, id), result) << id;
            EXPECT_EQ(Snapshot(dialog), before) << id;
        }
        const auto bytes = TemplateBytes(applied);  // cut anywhere: nothing moves
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            EXPECT_EQ(RelayoutFromBytes(TemplateLibrary(), dialog, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size))), 0);
            ASSERT_EQ(Snapshot(dialog), before) << applied << " cut at " << size;
        }
    }
}

TEST(Relayout, ARefusedBatchStillMovesEveryControl)
{
    Dialog dialog(IDT_PORTRAIT);
    Scatter(dialog);
    WindowMoves refused{nullptr};
    EXPECT_EQ(ApplyTemplateItems(TemplateLibrary(), dialog, TemplateBytes(IDT_LANDSCAPE), refused), 1);
    ExpectInPlace(dialog, IDT_LANDSCAPE);
    HWND label = GetDlgItem(dialog, IDC_LABEL), gone = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, dialog, nullptr, nullptr, nullptr);
    WindowMoves good{BeginDeferWindowPos(2)};
    good.Move(label, RECT{3, 4, 50, 20});
    EXPECT_TRUE(good.Commit());
    DestroyWindow(gone);
    WindowMoves failing{BeginDeferWindowPos(2)}, none{nullptr};
    failing.Move(gone, RECT{0, 0, 1, 1});
    none.Move(label, RECT{0, 0, 1, 1});
    EXPECT_FALSE(failing.Commit() || none.Commit());
    EXPECT_EQ(ChildRect(label), (RECT{3, 4, 50, 20})) << "a refused batch moves nothing by itself";
}

}  // namespace
