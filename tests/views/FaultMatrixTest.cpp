// Each IP helper function failing as a user meets it: what stays on screen, a box per attempt, nothing
// left behind. ORVANE_FAULT_MATRIX names a file for the rows of docs/fault-matrix.md (scripts/fault-matrix.sh).
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace test;

namespace {

using Failure = std::pair<std::string, std::function<void(FakeIpHelper&)>>;

// One function: how it fails, where a user meets it and what must then be on screen.
struct Function {
    std::string name;
    int command;
    const char *trigger, *seen;
    Failure failure;
    std::function<void(const Harness&)> before, drive;  // `before` brings up the state a failure must keep
    std::function<bool(const Harness&, const netinfo::NameValueList& rowsBefore)> check;
};

void Refresh(const Harness& h) { h.Command(ID_REFRESH); }

void StatusTab(const Harness& h) { PickTab(h.Tabs(ID_VIEW_IPCONFIG), 0), PickTab(h.Tabs(ID_VIEW_IPCONFIG), 1); }

bool Shown(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE; }

std::vector<Function> Functions()
{
    const auto general = [](const Harness& h, const auto&) { return Shown(h.Page()) && !Shown(h.List(ID_VIEW_IPCONFIG)); };
    const auto status = [](const Harness& h, const auto& before) {
        return ListRows(h.List(ID_VIEW_IPCONFIG)) == before && before.size() == 14 && Shown(h.List(ID_VIEW_IPCONFIG)) && !Shown(h.Page());
    };
    std::vector<Function> all = {
        {"GetNetworkParams", ID_VIEW_SUMMARY, "refresh", "the Summary keeps its text",
         {"the probe answers ERROR_NOT_SUPPORTED", [](FakeIpHelper& f) { f.networkParamsCall.probeAnswer = ERROR_NOT_SUPPORTED; }}, {}, Refresh,
         [](const Harness& h, const auto&) { return h.Text(ID_VIEW_SUMMARY, IDC_TEXT) == L"Host: pocket\r\nDomain: example.net\r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n"; }},
        {"GetAdaptersInfo", ID_VIEW_IPCONFIG, "refresh", "an empty chooser, the text of the adapter chosen before, the page shown",
         {"the second call fails", [](FakeIpHelper& f) { f.adaptersInfoCall.fillAnswer = ERROR_INVALID_DATA; }}, {}, Refresh,
         [=](const Harness& h, const auto& before) {
             return ComboEntries(h.Combo()).empty() && WindowText(h.TextBox()) == L"Selected adapter: 2 with name eth-two" && general(h, before);
         }},
        {"GetPerAdapterInfo", ID_VIEW_IPCONFIG, "refresh", "every adapter listed as before (the view shows no per-adapter data)",
         {"no memory for the probed size", [](FakeIpHelper& f) { f.adapters[1].perAdapterCall.probeSize = 0xFFFFFFF0u; }}, {}, Refresh,
         [=](const Harness& h, const auto& before) { return ComboEntries(h.Combo()).size() == 3 && general(h, before); }},
        {"GetInterfaceInfo", ID_VIEW_IPCONFIG, "a change to the Status tab", "the status rows read before, the list shown",
         {"the data grew after the probe", [](FakeIpHelper& f) { f.interfaceInfoCall.probeSize = 8; }}, StatusTab, StatusTab, status},
        {"GetInterfaceInfo", ID_VIEW_IPCONFIG, "the first change to the Status tab", "an empty list, shown",
         {"the probe answers ERROR_NOT_SUPPORTED", [](FakeIpHelper& f) { f.interfaceInfoCall.probeAnswer = ERROR_NOT_SUPPORTED; }}, {}, StatusTab,
         [](const Harness& h, const auto&) { return ListRows(h.List(ID_VIEW_IPCONFIG)).empty() && Shown(h.List(ID_VIEW_IPCONFIG)) && !Shown(h.Page()); }},
        {"GetIfEntry", ID_VIEW_IPCONFIG, "a change to the Status tab", "fourteen rows of zeros: the row the platform left empty",
         {"it answers ERROR_INVALID_DATA for the chosen interface", [](FakeIpHelper& f) { f.interfaces[0].ifEntryAnswer = ERROR_INVALID_DATA; }},
         StatusTab, StatusTab, [](const Harness& h, const auto&) {
             const auto rows = ListRows(h.List(ID_VIEW_IPCONFIG));
             return rows.size() == 14 && std::all_of(rows.begin(), rows.end(), [](const auto& r) { return r.value == L"0"; });
         }},
    };
    const std::pair<const char*, DWORD FakeIpHelper::*> statistics[] = {{"GetTcpStatistics", &FakeIpHelper::tcpAnswer},
        {"GetIpStatistics", &FakeIpHelper::ipAnswer}, {"GetUdpStatistics", &FakeIpHelper::udpAnswer}, {"GetIcmpStatistics", &FakeIpHelper::icmpAnswer}};
    for (int tab = 0; tab < 5; ++tab) {
        const auto [name, answer] = statistics[std::min(tab, 3)];
        const auto pick = [tab](const Harness& h) { PickTab(h.Tabs(ID_VIEW_NETSTAT), tab); };
        all.push_back({name, ID_VIEW_NETSTAT, tab == 4 ? "a change to the ICMP out tab, then refresh" : "a change to its tab, then refresh",
                       "a box \"Failed to retrieve statistics\" per attempt; the tab chosen; the rows of the tab read before stay",
                       {"it answers ERROR_NOT_SUPPORTED", [answer](FakeIpHelper& f) { f.*answer = ERROR_NOT_SUPPORTED; }},
                       [tab](const Harness& h) { PickTab(h.Tabs(ID_VIEW_NETSTAT), tab == 1 ? 0 : 1); },
                       [pick](const Harness& h) { pick(h), h.Command(ID_REFRESH); },
                       [tab](const Harness& h, const auto& before) {
                           return !before.empty() && ListRows(h.List(ID_VIEW_NETSTAT)) == before &&
                                  SendMessageW(h.Tabs(ID_VIEW_NETSTAT), TCM_GETCURSEL, 0, 0) == tab;
                       }});
    }
    return all;
}

struct Cell {
    std::string function, failure, trigger, seen;
    bool passed;
};

TEST(FaultMatrix, EachFunctionsFailureThroughTheRealFrame)
{
    std::vector<Cell> cells;
    for (const Function& function : Functions()) {
        SCOPED_TRACE(function.name);
        Harness h;
        h.Command(function.command);
        if (function.before)
            function.before(h);
        const netinfo::NameValueList before = function.command == ID_VIEW_SUMMARY ? netinfo::NameValueList{} : ListRows(h.List(function.command));
        const int windows = ThreadWindows(), calls = h.fake.calls.Total();
        const std::size_t live = h.fake.live.size();
        MessageBoxWatcher boxes;
        function.failure.second(h.fake);
        function.drive(h);
        const bool passed = function.check(h, before) && boxes.boxes.size() == (function.command == ID_VIEW_NETSTAT ? 2u : 0u) && h.fake.calls.Total() > calls &&
                            std::all_of(boxes.boxes.begin(), boxes.boxes.end(), [](const auto& b) {
                                return b.text == L"Failed to retrieve statistics" && b.caption == L"Orvane" && b.errorIconAndOkOnly;
                            }) && h.fake.live.size() == live && ThreadWindows() == windows;
        EXPECT_TRUE(passed) << function.seen << "; " << boxes.boxes.size() << " boxes; the platform asked again; heap and windows as before";
        cells.push_back({function.name, function.failure.first, function.trigger, function.seen, passed});
    }
    if (FILE* file = std::getenv("ORVANE_FAULT_MATRIX") ? std::fopen(std::getenv("ORVANE_FAULT_MATRIX"), "wb") : nullptr) {
        for (std::size_t n = 0; n < cells.size(); ++n)
            std::fprintf(file, "| %zu | `%s` | %s | %s | %s | %s |\n", n + 1, cells[n].function.c_str(), cells[n].failure.c_str(), cells[n].trigger.c_str(),
                         cells[n].seen.c_str(), cells[n].passed ? "pass" : "**FAIL**");
        std::fclose(file);
    }
}

}  // namespace
