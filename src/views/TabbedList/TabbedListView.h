// The data views whose page is a tab control (template control 1053, its
// strip along the bottom edge) holding the name/value list as its own child:
// the Statistics view and the IP configuration view. A view gives its tabs
// (T::kTabs, each with a name) and what a tab shows (T::ShowTab); it may
// prepare the tab control and add pages of its own (the hooks below).
#pragma once

#include "resource_ids.h"
#include "views/TabbedList/NameValueListView.h"
#include "views/TabbedList/TabStrip.h"
#include "views/ToolView/ToolView.h"
#include "win/Placement.h"

#include <commctrl.h>

#include <algorithm>

namespace views {

template <class T>
class TabbedListView : public ToolView<T> {
public:
    using Map = win::MessageMap<T>;

    static std::span<const typename Map::Entry> GetMessageMap()
    {
        static constexpr typename Map::Entry map[] = {
            Map::template InitDialog<&TabbedListView::OnInitDialog>(),
            Map::template Size<&TabbedListView::OnSize>(),
            Map::template Command<&TabbedListView::OnOk>(IDOK),
            Map::template Command<&TabbedListView::OnCancel>(IDCANCEL),
            Map::template Notify<&TabbedListView::OnTabChanged>(static_cast<int>(TCN_SELCHANGE)),
        };
        return map;
    }

    // Reads the current tab's data again.
    LRESULT Refresh() override
    {
        Self().ShowTab(static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)));
        return 0;
    }

protected:
    // Hooks a view may hide: before the tabs go in, after the list (made
    // hidden) exists, and when the area above the strip (cx by height)
    // changes. Which of its pages shows is the view's to say.
    void PrepareTabs() {}
    void CreatePages() {}
    void MovePages(int, int) {}

    HWND tabs = nullptr;
    HWND listView = nullptr;

private:
    T& Self() { return static_cast<T&>(*this); }

    LRESULT OnInitDialog(HWND, LPARAM)
    {
        this->InitFullScreen();
        tabs = this->GetDlgItem(IDC_TABS);
        SendMessageW(tabs, CCM_SETVERSION, COMCTL32_VERSION, 0);
        Self().PrepareTabs();
        int position = 0;
        for (const auto& tab : T::kTabs)
            InsertTab(tabs, position++, tab.name);
        // The list is made in its place: one made small and then moved lays
        // out its header again at every step, each a round trip to the
        // window server under Wine.
        RECT client{};
        GetClientRect(this->m_hWnd, &client);
        const RECT area{0, 0, client.right, std::max(FitTabControl(tabs, client.right, client.bottom), 0)};
        listView = CreateNameValueListView(tabs, area);
        Self().CreatePages();
        // The pages came after the full-screen sizing; place them now rather
        // than wait for a size change the platform may never send.
        OnSize(client.right, client.bottom);
        Self().ShowTab(0);
        return TRUE;
    }

    LRESULT OnSize(int cx, int cy)
    {
        const int height = FitTabControl(tabs, cx, cy);
        if (height < 0)
            return 0;
        win::PlaceWindow(listView, {0, 0, cx, height});
        Self().MovePages(cx, height);
        return 0;
    }

    LRESULT OnTabChanged(const NMHDR&) { return Refresh(); }
};

}  // namespace views
