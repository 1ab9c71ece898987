// The real frame with its nine views over the IP helper fake: the program as
// a user meets it, on a scripted device. Shared by the view, frame and fault
// tests and the soak.
#pragma once

#include "app/AppModule.h"
#include "app/MainFrame.h"
#include "resource_ids.h"
#include "support/FakeIpHelper.h"
#include "support/Win32.h"

#include <functional>
#include <memory>

namespace test {

// Three adapters (indexes 2, 3 and 5) with their interfaces, host "pocket",
// two DNS servers, and every protocol counter numbered: TCP from 100, IP 200,
// UDP 300, ICMP 400 (in, then out).
void ScriptDevice(FakeIpHelper& fake);

class Harness {
public:
    // `script` changes the device before the frame starts.
    explicit Harness(const std::function<void(FakeIpHelper&)>& script = {});
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    FakeIpHelper fake;
    std::unique_ptr<app::MainFrame> frame;

    // The view the command shows, by the frame's table.
    HWND View(int commandId) const;
    views::View& ViewObject(int commandId) const;
    // As the menu sends it.
    void Command(int id) const;

    // The controls of the data views.
    HWND Tabs(int commandId) const { return GetDlgItem(View(commandId), IDC_TABS); }
    HWND List(int commandId) const { return ChildOfClass(Tabs(commandId), L"SysListView32"); }
    HWND Page() const { return frame->AdapterPage().m_hWnd; }
    HWND Combo() const { return ChildOfClass(Page(), L"ComboBox"); }
    HWND TextBox() const { return ChildOfClass(Page(), L"Edit"); }
    std::wstring Text(int commandId, int controlId) const { return WindowText(GetDlgItem(View(commandId), controlId)); }

private:
    app::MessageLoop loop_;
};

}  // namespace test
