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

using Rows = netinfo::NameValueList;

// One function: how it fails, where a user meets it and what must then be on screen.
struct Function {
    std::string name, failure;
    std::function<void(FakeIpHelper&)> fail;
    int command;
    const char *trigger, *seen;
    std::function<void(const Harness&)> before, drive;  // `before` brings up the state a failure must keep
    std::function<bool(const Harness&, const Rows& rowsBefore)> check;
};

void Refresh(const Harness& h) { h.Command(ID_REFRESH); }

void StatusTab(const Harness& h) { PickTab(h.Tabs(ID_VIEW_IPCONFIG), 0), PickTab(h.Tabs(ID_VIEW_IPCONFIG), 1); }

bool Visible(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE; }

bool StatusListShown(const Harness& h) { return Visible(h.List(ID_VIEW_IPCONFIG)) && !Visible(h.Page()); }

std::vector<Function> Functions()
{
    const auto general = [](const Harness& h) { return Visible(h.Page()) && !Visible(h.List(ID_VIEW_IPCONFIG)); };
    const auto summary = L"Host: pocket\r\nDomain: example.net\r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n";
    const auto unsupported = ERROR_NOT_SUPPORTED, invalid = ERROR_INVALID_DATA;
    std::vector<Function> all = {
        {"GetNetworkParams", "the probe answers ERROR_NOT_SUPPORTED",
         [=](FakeIpHelper& f) { f.networkParamsCall.probeAnswer = unsupported; },
         ID_VIEW_SUMMARY, "refresh", "the Summary keeps its text", {}, Refresh,
         [=](const Harness& h, const Rows&) { return h.Text(ID_VIEW_SUMMARY, IDC_TEXT) == summary; }},
        {"GetAdaptersInfo", "the second call fails", [=](FakeIpHelper& f) { f.adaptersInfoCall.fillAnswer = invalid; },
         ID_VIEW_IPCONFIG, "refresh", "an empty chooser, the text of the adapter chosen before, the page shown", {},
         Refresh,
         [=](const Harness& h, const Rows&) {
             const bool text = WindowText(h.TextBox()) == L"Selected adapter: 2 with name eth-two";
             return ComboEntries(h.Combo()).empty() && text && general(h);
         }},
        {"GetPerAdapterInfo", "no memory for the probed size",
         [](FakeIpHelper& f) { f.adapters[1].perAdapterCall.probeSize = 0xFFFFFFF0u; },
         ID_VIEW_IPCONFIG, "refresh", "every adapter listed as before (the view shows no per-adapter data)", {},
         Refresh,
         [=](const Harness& h, const Rows&) { return ComboEntries(h.Combo()).size() == 3 && general(h); }},
        {"GetInterfaceInfo", "the data grew after the probe", [](auto& f) { f.interfaceInfoCall.probeSize = 8; },
         ID_VIEW_IPCONFIG, "a change to the Status tab", "the status rows read before, the list shown", StatusTab,
         StatusTab,
         [](const Harness& h, const Rows& before) {
             return ListRows(h.List(ID_VIEW_IPCONFIG)) == before && before.size() == 14 && StatusListShown(h);
         }},
        {"GetInterfaceInfo", "the probe answers ERROR_NOT_SUPPORTED",
         [=](FakeIpHelper& f) { f.interfaceInfoCall.probeAnswer = unsupported; },
         ID_VIEW_IPCONFIG, "the first change to the Status tab", "an empty list, shown", {}, StatusTab,
         [](const Harness& h, const Rows&) {
             return ListRows(h.List(ID_VIEW_IPCONFIG)).empty() && StatusListShown(h);
         }},
        {"GetIfEntry", "it answers ERROR_INVALID_DATA for the chosen interface",
         [=](FakeIpHelper& f) { f.interfaces[0].ifEntryAnswer = invalid; },
         ID_VIEW_IPCONFIG, "a change to the Status tab", "fourteen rows of zeros: the row the platform left empty",
         StatusTab, StatusTab, [](const Harness& h, const Rows&) {
             const auto rows = ListRows(h.List(ID_VIEW_IPCONFIG));
             const auto zero = [](const auto& row) { return row.value == L"0"; };
             return rows.size() == 14 && std::all_of(rows.begin(), rows.end(), zero);
         }},
    };
    const std::pair<const char*, DWORD FakeIpHelper::*> statistics[] = {
        {"GetTcpStatistics", &FakeIpHelper::tcpAnswer}, {"GetIpStatistics", &FakeIpHelper::ipAnswer},
        {"GetUdpStatistics", &FakeIpHelper::udpAnswer}, {"GetIcmpStatistics", &FakeIpHelper::icmpAnswer}};
    for (int tab = 0; tab < 5; ++tab) {
        const auto [name, answer] = statistics[std::min(tab, 3)];
        all.push_back({name, "it answers ERROR_NOT_SUPPORTED", [=](FakeIpHelper& f) { f.*answer = unsupported; },
                       ID_VIEW_NETSTAT,
                       tab == 4 ? "a change to the ICMP out tab, then refresh" : "a change to its tab, then refresh",
                       "a box \"Failed to retrieve statistics\" per attempt; the tab chosen; "
                       "the rows of the tab read before stay",
                       [tab](const Harness& h) { PickTab(h.Tabs(ID_VIEW_NETSTAT), tab == 1 ? 0 : 1); },
                       [tab](const Harness& h) { PickTab(h.Tabs(ID_VIEW_NETSTAT), tab), h.Command(ID_REFRESH); },
                       [tab](const Harness& h, const Rows& before) {
                           const bool chosen = SendMessageW(h.Tabs(ID_VIEW_NETSTAT), TCM_GETCURSEL, 0, 0) == tab;
                           return !before.empty() && ListRows(h.List(ID_VIEW_NETSTAT)) == before && chosen;
                       }});
    }
    return all;
}

struct Cell {
    std::string function, failure, trigger, seen;
    bool passed;
};

int Failures() { return testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count(); }

TEST(FaultMatrix, EachFunctionsFailureThroughTheRealFrame)
{
    std::vector<Cell> cells;
    for (const Function& function : Functions()) {
        SCOPED_TRACE(function.name + ": " + function.failure);
        const int failuresBefore = Failures();
        Harness h;
        h.Command(function.command);
        if (function.before)
            function.before(h);
        const Rows before = function.command == ID_VIEW_SUMMARY ? Rows{} : ListRows(h.List(function.command));
        const int windows = ThreadWindows(), calls = h.fake.calls.Total();
        const std::size_t live = h.fake.live.size();
        MessageBoxWatcher watcher;
        function.fail(h.fake);
        function.drive(h);
        EXPECT_TRUE(function.check(h, before)) << function.seen;
        EXPECT_EQ(watcher.boxes.size(), function.command == ID_VIEW_NETSTAT ? 2u : 0u) << "a box per statistics read";
        for (const auto& box : watcher.boxes) {
            EXPECT_EQ(box.text, L"Failed to retrieve statistics");
            EXPECT_EQ(box.caption, L"Orvane");
            EXPECT_TRUE(box.errorIconAndOkOnly) << "the error icon and OK alone";
        }
        EXPECT_GT(h.fake.calls.Total(), calls) << "the platform asked again";
        EXPECT_EQ(h.fake.live.size(), live) << "the scripted local heap as before";
        EXPECT_EQ(ThreadWindows(), windows) << "the windows as before";
        const bool passed = Failures() == failuresBefore;
        cells.push_back({function.name, function.failure, function.trigger, function.seen, passed});
    }
    const char* rows = std::getenv("ORVANE_FAULT_MATRIX");
    if (FILE* file = rows ? std::fopen(rows, "wb") : nullptr) {
        for (std::size_t n = 0; n < cells.size(); ++n)
            std::fprintf(file, "| %zu | `%s` | %s | %s | %s | %s |\n", n + 1, cells[n].function.c_str(),
                         cells[n].failure.c_str(), cells[n].trigger.c_str(), cells[n].seen.c_str(),
                         cells[n].passed ? "pass" : "**FAIL**");
        std::fclose(file);
    }
}

}  // namespace
