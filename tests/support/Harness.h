// The real frame over the IP helper fake: adapters 2 "eth-two", 3 "wlan-three", 5 "ppp-five" with their
// interfaces, host "pocket", two DNS servers, counters numbered: TCP from 100, IP 200, UDP 300, ICMP 400.
#pragma once

#include "app/AppModule.h"
#include "app/MainFrame.h"
#include "resource_ids.h"
#include "support/FakeIpHelper.h"
#include "support/Win32.h"

#include <memory>

namespace test {

struct Harness {
    // `script` changes the device before the frame starts.
    explicit Harness(const std::function<void(FakeIpHelper&)>& script = {});
    ~Harness();
    FakeIpHelper fake;
    app::MessageLoop loop;
    std::unique_ptr<app::MainFrame> frame;

    const app::ViewEntry& Entry(int commandId) const;  // the frame's row of the view the command shows
    HWND View(int commandId) const { return Entry(commandId).viewWindow; }
    views::View& ViewObject(int commandId) const { return *Entry(commandId).view; }
    void Command(int id) const;  // as the menu sends it
    HWND Tabs(int commandId) const { return GetDlgItem(View(commandId), IDC_TABS); }
    HWND List(int commandId) const { return ChildOfClass(Tabs(commandId), L"SysListView32"); }
    HWND Page() const { return frame->AdapterPage().m_hWnd; }
    HWND Combo() const { return ChildOfClass(Page(), L"ComboBox"); }
    HWND TextBox() const { return ChildOfClass(Page(), L"Edit"); }
    HWND Item(int commandId, int controlId) const { return GetDlgItem(View(commandId), controlId); }
    std::wstring Text(int commandId, int controlId) const { return WindowText(Item(commandId, controlId)); }
};

}  // namespace test
