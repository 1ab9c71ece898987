// The emulated menu bar: a strip of soft keys, one per top-level item of a
// menu, each opening its popup with the bar's owner as the menu's owner so
// that WM_INITMENUPOPUP and WM_COMMAND reach the owner as on the device.
#pragma once

#include "win/Window.h"

namespace shell {

class MenuBar : public win::CWindowImpl<MenuBar> {
public:
    using Map = win::MessageMap<MenuBar>;
    static std::span<const Map::Entry> GetMessageMap();
    static win::WindowClassInfo GetWindowClassInfo();

    // Creates the bar, owned by `owner`, at the given screen rectangle. Takes
    // ownership of `menu` (may be null for an empty bar). The object deletes
    // itself when its window is destroyed.
    static HWND CreateFor(HWND owner, HMENU menu, const RECT& where);

    void OnFinalMessage(HWND) override;

private:
    explicit MenuBar(HMENU menu) : menu_(menu) {}
    ~MenuBar() override;

    LRESULT OnCreate(const CREATESTRUCTW&);
    LRESULT OnSize(int cx, int cy);
    LRESULT OnKey(int id, int code, HWND control);

    HMENU menu_;
};

}  // namespace shell
