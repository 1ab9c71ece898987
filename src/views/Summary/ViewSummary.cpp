#include "views/Summary/ViewSummary.h"

#include "netinfo/NetworkInfo.h"
#include "netinfo/SummaryText.h"
#include "resource_ids.h"
#include "views/ToolView/ErrorSites.h"
#include "win/DataExchange.h"
#include "win/Placement.h"

#include <utility>

namespace views {
std::span<const ViewSummary::Map::Entry> ViewSummary::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewSummary::OnInitDialog>(),
        Map::Size<&ViewSummary::OnSize>(),
        Map::Plain<&ViewSummary::OnNcDestroy>(WM_NCDESTROY),
    };
    return map;
}

LRESULT ViewSummary::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    LOGFONTW bold{};
    bold.lfHeight = 20;
    bold.lfWeight = FW_BOLD;
    lstrcpynW(bold.lfFaceName, L"Tahoma", LF_FACESIZE);
    headlineFont.reset(CreateFontIndirectW(&bold));
    SendDlgItemMessageW(m_hWnd, IDC_HEADLINE, WM_SETFONT, reinterpret_cast<WPARAM>(headlineFont.get()), TRUE);
    Refresh();
    // A template of exactly the full-screen size gets no size change from the
    // full-screen sizing, so place the controls here as well.
    RECT client{};
    GetClientRect(m_hWnd, &client);
    OnSize(client.right, client.bottom);
    return TRUE;
}

LRESULT ViewSummary::OnSize(int cx, int cy)
{
    const RECT area{0, 0, cx, cy};
    if (IsRectEmpty(&area))
        return 0;
    const std::pair<int, RECT> places[] = {
        {IDC_LOGO, {10, 10, 80, 80}},
        {IDC_HEADLINE, {90, 30, cx - 10, 90}},
        {IDC_TEXT, {10, 100, cx - 10, cy - 10}},
    };
    for (const auto& [id, rect] : places)
        win::PlaceWindow(GetDlgItem(id), rect);
    return 0;
}

// The children are gone by now, so the headline never holds a deleted font.
LRESULT ViewSummary::OnNcDestroy()
{
    headlineFont.reset();
    msgHandled = false;
    return 0;
}

LRESULT ViewSummary::Refresh()
{
    try {
        netinfo::NetworkParams params;
        const netinfo::NetworkInfo info;
        CheckAt(info.QueryNetworkParams(params), kSummaryParamsSite);
        summaryText = netinfo::ComposeSummaryText(params);
        win::SetTextOrBeep(m_hWnd, IDC_TEXT, summaryText);
    } catch (const netinfo::ErrT&) {
        // Nothing to tell the user: the previous summary stays.
    }
    return 0;
}

}  // namespace views
