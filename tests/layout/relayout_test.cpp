// The engine on live dialogs made from the test library's templates.
#include "layout/DialogTemplate.h"
#include "layout/Relayout.h"
#include "layout/RelayoutInternal.h"
#include "template_ids.h"
#include "test_library.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace layout;

namespace {

struct ChildState {
    HWND window;
    RECT rect;
    std::wstring text;
    LRESULT icon;
    LRESULT bitmap;
    bool operator==(const ChildState&) const = default;
};

std::vector<ChildState> Snapshot(HWND dialog)
{
    std::vector<ChildState> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back({child, ChildRect(child), WindowText(child),
                            SendMessageW(child, STM_GETIMAGE, IMAGE_ICON, 0),
                            SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0)});
    return children;
}

// Moves every child out of its place, each to its own spot.
void Scatter(HWND dialog)
{
    int i = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++i)
        SetWindowPos(child, nullptr, 211 + 7 * i, 157 + 5 * i, 13 + i, 9 + i, SWP_NOZORDER | SWP_NOACTIVATE);
}

const ParsedItem* FindItem(const ParsedTemplate& t, std::uint16_t id)
{
    for (const ParsedItem& item : t.items)
        if (item.id == id)
            return &item;
    return nullptr;
}

bool IsComboBox(HWND window)
{
    wchar_t name[32]{};
    GetClassNameW(window, name, 32);
    return lstrcmpiW(name, L"ComboBox") == 0;
}

// A combo box keeps its closed height as its window height; the template's
// height is that of the dropped list.
void ExpectAt(HWND control, const RECT& expected)
{
    const RECT actual = ChildRect(control);
    if (IsComboBox(control)) {
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        return;
    }
    EXPECT_EQ(actual, expected) << "control " << GetDlgCtrlID(control) << ": " << ToString(actual)
                                << " instead of " << ToString(expected);
}

void ExpectItemsInPlace(HWND dialog, int templateId, std::initializer_list<int> ids)
{
    ParsedTemplate t;
    ASSERT_EQ(ParseTemplate(TemplateBytes(templateId), t), TemplateStatus::Ok);
    for (int id : ids) {
        SCOPED_TRACE(id);
        const ParsedItem* item = FindItem(t, static_cast<std::uint16_t>(id));
        ASSERT_NE(item, nullptr);
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr);
        ExpectAt(control, MappedRect(dialog, item->x, item->y, item->cx, item->cy));
    }
}

HWND FindChildByText(HWND dialog, const wchar_t* text)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child) == text)
            return child;
    return nullptr;
}

const std::initializer_list<int> kNamedControls = {IDC_LABEL, IDC_ICON_STATIC,  IDC_BITMAP, IDC_LIST,
                                                   IDC_COMBO, IDC_BUTTON, IDC_EDIT,  IDC_NAMED_CLASS};

class RelayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(TemplateLibrary(), nullptr);
        ASSERT_NE(dialog_.get(), nullptr);
    }
    HWND dialog() const { return dialog_.get(); }

    Dialog dialog_{CreateTestDialog(IDT_PORTRAIT)};
};

// Counts one message that reaches a control.
struct MessageCounter {
    UINT message;
    int count = 0;

    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        auto* self = reinterpret_cast<MessageCounter*>(data);
        if (msg == self->message)
            ++self->count;
        return DefSubclassProc(window, msg, wParam, lParam);
    }
    void Attach(HWND window) { ASSERT_TRUE(SetWindowSubclass(window, Proc, 1, reinterpret_cast<DWORD_PTR>(this))); }
    static void Detach(HWND window) { RemoveWindowSubclass(window, Proc, 1); }
};

}  // namespace

TEST_F(RelayoutTest, ControlsGoToTheRectanglesOfEitherTemplate)
{
    // The dialog manager placed the controls; remember where.
    std::vector<RECT> created;
    for (int id : kNamedControls)
        created.push_back(ChildRect(GetDlgItem(dialog(), id)));

    Scatter(dialog());
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_LANDSCAPE), 1);
    ExpectItemsInPlace(dialog(), IDT_LANDSCAPE, kNamedControls);

    Scatter(dialog());
    // The portrait template has two unnamed items, hence 0, but it is applied.
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_PORTRAIT), 0);
    ExpectItemsInPlace(dialog(), IDT_PORTRAIT, kNamedControls);
    // The dialog manager maps position and size each on its own, the relayout
    // maps the corners: the size may differ by a rounding pixel. Image statics
    // take their image's size at creation.
    std::size_t i = 0;
    for (int id : kNamedControls) {
        const RECT now = ChildRect(GetDlgItem(dialog(), id));
        const RECT& then = created[i++];
        EXPECT_EQ(now.left, then.left) << id;
        EXPECT_EQ(now.top, then.top) << id;
        if (id != IDC_ICON_STATIC && id != IDC_BITMAP) {
            EXPECT_LE(std::abs(now.right - then.right), 1) << id;
            EXPECT_LE(std::abs(now.bottom - then.bottom), 1) << id;
        }
    }
}

TEST(Relayout, WorkedExampleInPixels)
{
    Dialog dialog{CreateTestDialog(IDT_WORKED_EXAMPLE)};
    ASSERT_NE(dialog.get(), nullptr);
    RECT base{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog.get(), &base));
    if (base.right != 8 || base.bottom != 15)
        GTEST_SKIP() << "the font gives base units " << base.right << " x " << base.bottom << ", not 8 x 15";

    HWND label = GetDlgItem(dialog.get(), IDC_LABEL);
    SetWindowPos(label, nullptr, 1, 1, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog.get(), IDT_WORKED_EXAMPLE), 1);
    // (10, 20, 50, 12) with 8 x 15: x 10*8/4 = 20, right 60*8/4 = 120,
    // y 20*15/8 = 37.5 -> 38, bottom 32*15/8 = 60.
    EXPECT_EQ(ChildRect(label), (RECT{20, 38, 120, 60})) << ToString(ChildRect(label));
}

TEST_F(RelayoutTest, TextsComeBackFromTheTemplate)
{
    SetDlgItemTextW(dialog(), IDC_LABEL, L"computed");
    SetDlgItemTextW(dialog(), IDC_BUTTON, L"pressed");
    SetDlgItemTextW(dialog(), IDC_NAMED_CLASS, L"kept");
    SetDlgItemTextW(dialog(), IDC_EDIT, L"typed");

    RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_LANDSCAPE);
    EXPECT_EQ(WindowText(GetDlgItem(dialog(), IDC_LABEL)), L"Host");
    EXPECT_EQ(WindowText(GetDlgItem(dialog(), IDC_BUTTON)), L"Go!");
    // A class given by name gets no refresh; edit controls keep their text.
    EXPECT_EQ(WindowText(GetDlgItem(dialog(), IDC_NAMED_CLASS)), L"kept");
    EXPECT_EQ(WindowText(GetDlgItem(dialog(), IDC_EDIT)), L"typed");

    // An empty title empties the text.
    Dialog target{CreateTestDialog(IDT_DATA_TARGET)};
    ASSERT_NE(target.get(), nullptr);
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), target.get(), IDT_CREATION_DATA), 1);
    EXPECT_EQ(WindowText(GetDlgItem(target.get(), IDC_DATA_FIRST)), L"A");
    EXPECT_EQ(WindowText(GetDlgItem(target.get(), IDC_DATA_SECOND)), L"B");
    EXPECT_EQ(WindowText(GetDlgItem(target.get(), IDC_DATA_THIRD)), L"");
}

TEST_F(RelayoutTest, IconIsReloadedAndTheOldOneDestroyed)
{
    HWND icon = GetDlgItem(dialog(), IDC_ICON_STATIC);
    HICON templateIcon = LoadIconW(TemplateLibrary(), MAKEINTRESOURCEW(IDI_SQUARE));
    ASSERT_NE(templateIcon, nullptr);
    HICON own = CopyIcon(templateIcon);
    ASSERT_NE(own, nullptr);
    SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(own));
    ASSERT_EQ(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0)), own);

    RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_LANDSCAPE);
    const auto shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_NE(shown, nullptr);
    EXPECT_NE(shown, own);
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(own, &info)) << "the replaced icon was not destroyed";

    // Again, with the template's icon already shown: what is shown afterwards is a live icon.
    RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_PORTRAIT);
    const auto again = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_TRUE(GetIconInfo(again, &info)) << "the icon shown was destroyed";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // The static was sized to the template's rectangle, not to the icon.
    EXPECT_EQ(ChildRect(icon), MappedRect(dialog(), 100, 4, 20, 20));
}

TEST_F(RelayoutTest, BitmapIsReloadedAndTheOldOneDeleted)
{
    HWND bitmap = GetDlgItem(dialog(), IDC_BITMAP);
    HBITMAP own = CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_NE(own, nullptr);
    // The previous image, the one the dialog manager loaded, is now ours to delete.
    DeleteObject(reinterpret_cast<HBITMAP>(
        SendMessageW(bitmap, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(own))));

    RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_LANDSCAPE);
    const auto shown = reinterpret_cast<HBITMAP>(SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_NE(shown, nullptr);
    EXPECT_NE(shown, own);
    EXPECT_EQ(GetObjectType(shown), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(own), 0u) << "the replaced bitmap was not deleted";
}

TEST_F(RelayoutTest, ListAndComboSelectionIsSetAgainOnlyWhenThereIsOne)
{
    HWND list = GetDlgItem(dialog(), IDC_LIST);
    HWND combo = GetDlgItem(dialog(), IDC_COMBO);
    for (int i = 0; i < 30; ++i) {
        const std::wstring text = L"row " + std::to_wstring(i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    MessageCounter listSets{LB_SETCURSEL};
    MessageCounter comboSets{CB_SETCURSEL};
    listSets.Attach(list);
    comboSets.Attach(combo);

    RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_LANDSCAPE);
    EXPECT_EQ(listSets.count, 0);
    EXPECT_EQ(comboSets.count, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);

    SendMessageW(list, LB_SETCURSEL, 25, 0);
    SendMessageW(combo, CB_SETCURSEL, 17, 0);
    listSets.count = comboSets.count = 0;
    RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_PORTRAIT);
    EXPECT_EQ(listSets.count, 1);
    EXPECT_EQ(comboSets.count, 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 25);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 17);
    // The items stay.
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 30);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 30);

    MessageCounter::Detach(list);
    MessageCounter::Detach(combo);
}

TEST_F(RelayoutTest, UnnamedItemsAllAddressTheFirstUnnamedControl)
{
    HWND first = FindChildByText(dialog(), L"First");
    HWND second = FindChildByText(dialog(), L"Second");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const RECT secondAt = ChildRect(second);

    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_ONE_UNNAMED), 1);
    EXPECT_EQ(ChildRect(first), MappedRect(dialog(), 50, 60, 30, 10));
    EXPECT_EQ(WindowText(first), L"Lone");

    // Two unnamed items: both moves go to the first unnamed control, the later one last.
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_TWO_UNNAMED), 0);
    EXPECT_EQ(ChildRect(first), MappedRect(dialog(), 60, 150, 36, 12));
    EXPECT_EQ(WindowText(first), L"B");
    EXPECT_EQ(ChildRect(second), secondAt);
    EXPECT_EQ(WindowText(second), L"Second");
}

TEST_F(RelayoutTest, AnIdWithoutAControlDoesNotStopTheOthers)
{
    ASSERT_EQ(GetDlgItem(dialog(), IDC_NOWHERE), nullptr);
    Scatter(dialog());
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_UNKNOWN_ID), 1);
    ExpectItemsInPlace(dialog(), IDT_UNKNOWN_ID, {IDC_LABEL, IDC_BUTTON});
    EXPECT_EQ(WindowText(GetDlgItem(dialog(), IDC_BUTTON)), L"Button");
}

TEST_F(RelayoutTest, EmptyTemplateChangesNothingAndGivesOne)
{
    Scatter(dialog());
    const auto before = Snapshot(dialog());
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_EMPTY), 1);
    EXPECT_EQ(Snapshot(dialog()), before);
}

TEST_F(RelayoutTest, MissingOrExtendedTemplateChangesNothing)
{
    Scatter(dialog());
    SetDlgItemTextW(dialog(), IDC_LABEL, L"computed");
    const auto before = Snapshot(dialog());

    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_MISSING), 0);
    EXPECT_EQ(Snapshot(dialog()), before);
    // IDT_EXTENDED holds an item for IDC_LABEL.
    EXPECT_EQ(RelayoutFromTemplate(TemplateLibrary(), dialog(), IDT_EXTENDED), 0);
    EXPECT_EQ(Snapshot(dialog()), before);
    EXPECT_EQ(RelayoutFromTemplate(nullptr, dialog(), IDT_LANDSCAPE), 0);
    EXPECT_EQ(Snapshot(dialog()), before);
}

TEST(Relayout, EveryTruncationChangesNothing)
{
    struct Case {
        int dialogTemplate;
        int appliedTemplate;
    };
    std::size_t cuts = 0;
    for (const Case c : {Case{IDT_PORTRAIT, IDT_LANDSCAPE}, Case{IDT_PORTRAIT, IDT_PORTRAIT},
                         Case{IDT_PORTRAIT, IDT_TWO_UNNAMED}, Case{IDT_DATA_TARGET, IDT_CREATION_DATA}}) {
        Dialog dialog{CreateTestDialog(c.dialogTemplate)};
        ASSERT_NE(dialog.get(), nullptr);
        Scatter(dialog.get());
        for (HWND child = GetWindow(dialog.get(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SetWindowTextW(child, L"changed");
        const auto before = Snapshot(dialog.get());

        const auto bytes = TemplateBytes(c.appliedTemplate);
        ASSERT_FALSE(bytes.empty());
        for (std::size_t size = 0; size < bytes.size(); ++size, ++cuts) {
            const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_EQ(RelayoutFromBytes(TemplateLibrary(), dialog.get(), prefix), 0) << "cut at " << size;
            ASSERT_EQ(Snapshot(dialog.get()), before)
                << "template " << c.appliedTemplate << " cut at " << size << " changed the dialog";
        }
        // The whole template does change it, so the comparison above can fail.
        const std::vector<std::uint8_t> whole(bytes.begin(), bytes.end());
        RelayoutFromBytes(TemplateLibrary(), dialog.get(), whole);
        EXPECT_NE(Snapshot(dialog.get()), before);
    }
    EXPECT_GT(cuts, 900u);
}

TEST_F(RelayoutTest, RefusedBatchStillMovesEveryControl)
{
    Scatter(dialog());
    const auto bytes = TemplateBytes(IDT_LANDSCAPE);
    WindowMoves refused{nullptr};
    EXPECT_EQ(ApplyTemplateItems(TemplateLibrary(), dialog(), bytes, refused), 1);
    ExpectItemsInPlace(dialog(), IDT_LANDSCAPE, kNamedControls);
}

TEST_F(RelayoutTest, BatchReportsAFailedMove)
{
    HWND label = GetDlgItem(dialog(), IDC_LABEL);
    const RECT target{3, 4, 50, 20};
    {
        WindowMoves moves{BeginDeferWindowPos(2)};
        moves.Move(label, target);
        EXPECT_TRUE(moves.Commit());
        EXPECT_EQ(ChildRect(label), target);
    }
    {
        HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, dialog(), nullptr, nullptr, nullptr);
        ASSERT_NE(gone, nullptr);
        DestroyWindow(gone);
        WindowMoves moves{BeginDeferWindowPos(2)};
        moves.Move(gone, target);
        EXPECT_FALSE(moves.Commit());
    }
    {
        WindowMoves moves{nullptr};
        moves.Move(label, RECT{0, 0, 1, 1});
        EXPECT_FALSE(moves.Commit());
        EXPECT_EQ(ChildRect(label), target) << "a refused batch moves nothing by itself";
    }
}
