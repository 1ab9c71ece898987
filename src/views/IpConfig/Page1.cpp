#include "views/IpConfig/Page1.h"

#include "text/Encoding.h"
#include "views/ToolView/ErrorSites.h"
#include "win/Placement.h"

#include <algorithm>
#include <string>
#include <utility>

namespace views {
namespace {

HWND CreateChild(const CREATESTRUCTW& page, HWND parent, const wchar_t* className, DWORD style,
                 const wchar_t* text = nullptr)
{
    return CreateWindowExW(0, className, text, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           parent, nullptr, page.hInstance, nullptr);
}

}  // namespace

std::span<const CPage1::Map::Entry> CPage1::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::Create<&CPage1::OnCreate>(),
        Map::Size<&CPage1::OnSize>(),
        Map::AnyCommand<&CPage1::OnSelectionChange>(CBN_SELCHANGE),
    };
    return map;
}

win::WindowClassInfo CPage1::GetWindowClassInfo()
{
    win::WindowClassInfo info;
    info.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    info.cursor = LoadCursorW(nullptr, IDC_ARROW);
    info.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    return info;
}

LRESULT CPage1::OnCreate(const CREATESTRUCTW& cs)
{
    combo = CreateChild(cs, m_hWnd, L"COMBOBOX", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST);
    label = CreateChild(cs, m_hWnd, L"STATIC", WS_CHILD | WS_VISIBLE, L"Select adapter:");
    textBox = CreateChild(cs, m_hWnd, L"EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE);
    adapters.clear();
    selectedIndex = 0;
    return 0;
}

LRESULT CPage1::OnSize(int cx, int cy)
{
    const RECT area{0, 0, cx, cy};
    if (IsRectEmpty(&area))
        return 0;
    // The combo box's height includes its dropped-down list. A page too low
    // for the text box leaves it no height rather than a negative one.
    const std::pair<HWND, RECT> places[] = {
        {label, {10, 10, cx - 10, 30}},
        {combo, {10, 30, cx - 10, 100}},
        {textBox, {10, 60, cx - 10, 60 + std::max(cy - 70, 0)}},
    };
    for (const auto& [child, rect] : places)
        win::PlaceWindow(child, rect);
    return 0;
}

LRESULT CPage1::OnSelectionChange(int, int, HWND)
{
    OnAdapterSelected();
    return 0;
}

HRESULT CPage1::FillAdapters()
{
    adapters.clear();
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    try {
        const netinfo::NetworkInfo info;
        CheckAt(info.QueryAdapters(adapters), kAdapterPageSite);
    } catch (const netinfo::ErrT& error) {
        return error.code;
    }
    for (const netinfo::AdapterRecord& adapter : adapters) {
        const std::wstring name = text::AnsiToWide(adapter.name);
        const auto position = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (position >= 0)
            SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(position), adapter.index);
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(EntryToSelect(selectedIndex)), 0);
    OnAdapterSelected();
    return S_OK;
}

int CPage1::EntryToSelect(uint32_t index) const
{
    if (index == 0)
        return 0;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT entry = 0; entry < count; ++entry)
        if (static_cast<uint32_t>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(entry), 0)) == index)
            return static_cast<int>(entry);
    return 0;
}

void CPage1::OnAdapterSelected()
{
    const auto position = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (position == CB_ERR)
        return;
    selectedIndex = static_cast<uint32_t>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(position), 0));
    const auto found = std::find_if(adapters.begin(), adapters.end(),
                                    [this](const netinfo::AdapterRecord& a) { return a.index == selectedIndex; });
    if (found == adapters.end())
        return;
    const std::wstring line =
        L"Selected adapter: " + std::to_wstring(found->index) + L" with name " + text::AnsiToWide(found->name);
    SetWindowTextW(textBox, line.c_str());
}

}  // namespace views
