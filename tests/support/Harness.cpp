#include "support/Harness.h"

#include <algorithm>
#include <stdexcept>

namespace test {

Harness::Harness(const std::function<void(FakeIpHelper&)>& script)
{
    app::Module().Init(GetModuleHandleW(nullptr));
    if (!app::Module().Resources())
        app::Module().SetResources(LoadLocalization());
    fake.hostName = "pocket", fake.domainName = "example.net", fake.dnsServers = {"10.0.0.1", "10.0.0.2"};
    fake.adapters = {{.index = 2, .name = "eth-two"}, {.index = 3, .name = "wlan-three"},
                     {.index = 5, .name = "ppp-five"}};
    for (ULONG index : {2u, 3u, 5u})
        fake.interfaces.push_back({index, L"if" + std::to_wstring(index), NumberedRow(100 * index)});
    fake.tcp = Numbered<MIB_TCPSTATS>(100), fake.ip = Numbered<MIB_IPSTATS>(200);
    fake.udp = Numbered<MIB_UDPSTATS>(300), fake.icmp = Numbered<MIB_ICMP>(400);
    if (script)
        script(fake);
    app::Module().AddMessageLoop(&loop);
    frame = std::make_unique<app::MainFrame>();
    if (frame->CreateFrame())
        ShowWindow(frame->m_hWnd, SW_SHOW);
    PumpMessages();
}

Harness::~Harness()
{
    if (frame->m_hWnd)
        DestroyWindow(frame->m_hWnd);
    PumpMessages();
    frame.reset();
    app::Module().RemoveMessageLoop();
}

const app::ViewEntry& Harness::Entry(int commandId) const
{
    const auto& all = frame->ViewTable();
    const auto entry = std::find_if(all.begin(), all.end(), [=](const auto& v) { return v.commandId == commandId; });
    if (entry == all.end())
        throw std::invalid_argument("no view has command " + std::to_string(commandId));
    return *entry;
}

void Harness::Command(int id) const
{
    SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

}  // namespace test
