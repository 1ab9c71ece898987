#include "views/TabbedList/NameValueListView.h"

#include <commctrl.h>

namespace views {

namespace {

struct Column {
    const wchar_t* heading;
    int width;
};

constexpr Column kColumns[] = {
    {L"Name", 100},
    {L"Value", 100},
};

constexpr DWORD kListStyle =
    WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;

// The list view only reads the texts it is given.
wchar_t* TextOf(const std::wstring& text)
{
    return const_cast<wchar_t*>(text.c_str());
}

}  // namespace

HWND CreateNameValueListView(HWND parent, const RECT& place)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, nullptr, kListStyle, place.left, place.top, place.right - place.left,
                                place.bottom - place.top, parent, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!list)
        return nullptr;
    int position = 0;
    for (const Column& c : kColumns) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = c.width;
        column.pszText = const_cast<wchar_t*>(c.heading);
        SendMessageW(list, LVM_INSERTCOLUMNW, position++, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void FillNameValueList(HWND listView, const netinfo::NameValueList& rows)
{
    // One repaint for the whole fill: each insert at the top would otherwise
    // move and repaint every row below it.
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listView, LVM_DELETEALLITEMS, 0, 0);
    for (const netinfo::NameValueRow& row : rows) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = 0;
        item.pszText = TextOf(row.name);
        const auto position = SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (position < 0)
            continue;
        LVITEMW value{};
        value.mask = LVIF_TEXT;
        value.iItem = static_cast<int>(position);
        value.iSubItem = 1;
        value.pszText = TextOf(row.value);
        SendMessageW(listView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&value));
    }
    SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

}  // namespace views
