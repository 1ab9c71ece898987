// The "General" page of the IP configuration view: a chooser of the device's
// adapters and a line naming the chosen one.
#pragma once

#include "netinfo/NetworkInfo.h"
#include "win/Window.h"

#include <cstdint>

namespace views {

class CPage1 : public win::CWindowImpl<CPage1> {
public:
    using Map = win::MessageMap<CPage1>;
    static std::span<const Map::Entry> GetMessageMap();
    static win::WindowClassInfo GetWindowClassInfo();

    // Lists the adapters again and selects one: the one selected before while
    // it is still there, else the first. S_OK or the query's failure code,
    // after which the chooser is empty and the text keeps what it had.
    HRESULT FillAdapters();

    // Takes the chosen entry's adapter index and names that adapter.
    void OnAdapterSelected();

    // The index of the adapter last chosen; 0 until one is.
    uint32_t SelectedIndex() const { return selectedIndex; }

private:
    LRESULT OnCreate(const CREATESTRUCTW&);
    LRESULT OnSize(int cx, int cy);
    LRESULT OnSelectionChange(int id, int code, HWND control);

    // The entry a fill selects: the first with the remembered index, else 0.
    int EntryToSelect(uint32_t index) const;

    HWND label = nullptr;
    HWND combo = nullptr;
    HWND textBox = nullptr;
    uint32_t selectedIndex = 0;
    netinfo::AdapterList adapters;
};

}  // namespace views
