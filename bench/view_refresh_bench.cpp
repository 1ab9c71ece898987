// The refresh of the Statistics tabs, the IP configuration "Status" tab and
// the Summary, each against the bare work: the same platform calls, then the
// same rows put into the same control with strings prepared beforehand, the
// list's redrawing off during the fill as the view does (the fastest bare
// fill we know). The platform calls alone show where the time goes; the fill
// with redrawing on shows what turning it off saves.
#include "bench_support.h"

#include "support/FakeIpHelper.h"
#include "views/IpConfig/ViewIpConfig.h"
#include "views/Summary/ViewSummary.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/IpHelperApi.h"
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"
#include "resource_ids.h"
#include "views/Statistics/ViewNetstat.h"

#include <commctrl.h>

#include <memory>
#include <string>

using namespace netinfo;
using namespace views;

namespace {

using bench::Contender;

template <class View>
struct Hosted {
    Hosted(int x, int templateId) : host(bench::CreateHost(x))
    {
        window = view.CreateView(bench::Resources(), templateId, host);
        ShowWindow(window, SW_SHOW);
        bench::Pump();
    }
    ~Hosted()
    {
        DestroyWindow(host);
        bench::Pump();
    }
    View view;
    HWND host;
    HWND window = nullptr;
};

HWND FirstChildOfClass(HWND parent, const wchar_t* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64]{};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, className) == 0)
            return child;
    }
    return nullptr;
}

// The bare fill: prepared texts, each row in at the top, as the view shows
// them. It fills the view's own list, so both sides work on the very same
// window. Optionally with the list's redrawing off meanwhile.
void FillPrepared(HWND list, const NameValueList& rows, bool redrawOff = false)
{
    if (redrawOff)
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (const NameValueRow& row : rows) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<wchar_t*>(row.name.c_str());
        const auto position = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iItem = static_cast<int>(position);
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(row.value.c_str());
        SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (redrawOff) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

// Keeps the compiler from dropping a platform call whose answer is unused.
volatile DWORD g_sink = 0;

struct StatisticsTab {
    const char* name;
    HRESULT (ProtocolStatistics::*read)(NameValueList&) const;
    DWORD (*platform)();  // the tab's one platform call, through the table in use
};

template <typename Stats, DWORD(WINAPI* IpHelperApi::*Get)(Stats*)>
DWORD CallStatistics()
{
    Stats stats{};
    return (CurrentIpHelperApi().*Get)(&stats);
}

const StatisticsTab kTabs[] = {
    {"TCP", &ProtocolStatistics::ReadTcpStatistics, CallStatistics<MIB_TCPSTATS, &IpHelperApi::getTcpStatistics>},
    {"IP", &ProtocolStatistics::ReadIpStatistics, CallStatistics<MIB_IPSTATS, &IpHelperApi::getIpStatistics>},
    {"UDP", &ProtocolStatistics::ReadUdpStatistics, CallStatistics<MIB_UDPSTATS, &IpHelperApi::getUdpStatistics>},
    {"ICMP in", &ProtocolStatistics::ReadIcmpInStatistics, CallStatistics<MIB_ICMP, &IpHelperApi::getIcmpStatistics>},
    {"ICMP out", &ProtocolStatistics::ReadIcmpOutStatistics,
     CallStatistics<MIB_ICMP, &IpHelperApi::getIcmpStatistics>},
};

constexpr double kGoal = 1.10;

// samples: ours, the baseline, the platform calls alone and, for a list,
// the bare fill with redrawing on.
void Report(const std::string& what, const std::string& baseline, const std::vector<std::vector<double>>& samples,
            bool judged)
{
    const bench::Spread ours = bench::SpreadOf(samples[0]);
    const bench::Spread bare = bench::SpreadOf(samples[1]);
    const bench::Spread platform = bench::SpreadOf(samples[2]);
    const double ratio = bare.median > 0 ? ours.median / bare.median : 0;
    if (judged)
        bench::Row(what + ", against " + baseline, ours, bare, kGoal);
    else
        bench::Note(what + " [informational]: ours " + bench::Format(ours.median) + " µs, " + baseline + " " +
                    bench::Format(bare.median) + " µs, " + bench::Format(ratio, 2) + "×");
    if (samples.size() > 3) {
        const double redrawOn = bench::SpreadOf(samples[3]).median;
        bench::Note(what + ": the same bare fill with the list's redrawing on takes " + bench::Format(redrawOn) +
                    " µs (ours " + bench::Format(redrawOn > 0 ? ours.median / redrawOn : 0, 2) + "× of it)");
    }
    bench::Note(what + ": the platform calls alone take " + bench::Format(platform.median) + " µs (" +
                bench::Format(bare.median > 0 ? 100 * platform.median / bare.median : 0, 0) +
                "% of the baseline); ours exceeds the baseline by " + bench::Format(ours.median - bare.median) +
                " µs");
}

constexpr const char* kListBaseline = "the same calls and a bare fill of the same rows, list redraw off";

void StatisticsRefresh(int rounds, const std::string& source, bool judged)
{
    Hosted<ViewNetstat> real(0, IDD_NETSTAT);
    HWND list = FirstChildOfClass(GetDlgItem(real.window, IDC_TABS), WC_LISTVIEWW);
    for (int i = 0; i < 5; ++i) {
        const StatisticsTab& tab = kTabs[i];
        if (tab.platform() != NO_ERROR) {
            bench::Note(std::string("Statistics ") + tab.name + ": the platform call fails here; not measured");
            continue;
        }
        NameValueList prepared;
        (ProtocolStatistics{}.*tab.read)(prepared);
        real.view.ShowStatistics(i);
        const auto samples = bench::Interleave(
            rounds,
            {
                {"ours", [&] { real.view.ShowStatistics(i); }},
                {"bare, redraw off",
                 [&] {
                     g_sink = tab.platform();
                     FillPrepared(list, prepared, true);
                 }},
                {"platform", [&] { g_sink = tab.platform(); }},
                {"bare, redraw on",
                 [&] {
                     g_sink = tab.platform();
                     FillPrepared(list, prepared);
                 }},
            },
            bench::Pump);
        Report(std::string("Statistics \"") + tab.name + "\" refresh (" + source + ")", kListBaseline, samples,
               judged);
    }
}

// GetNetworkParams as the protocol asks: probe, allocate, fill, free.
DWORD CallNetworkParams()
{
    const IpHelperApi& api = CurrentIpHelperApi();
    ULONG length = 0;
    if (api.getNetworkParams(nullptr, &length) != ERROR_BUFFER_OVERFLOW)
        return ERROR_INVALID_DATA;
    HLOCAL block = api.localAlloc(LPTR, length);
    const DWORD answer = api.getNetworkParams(static_cast<FIXED_INFO*>(block), &length);
    api.localFree(block);
    return answer;
}

void SummaryRefresh(int rounds, const std::string& source, bool judged)
{
    Hosted<ViewSummary> real(0, IDD_SUMMARY);
    wchar_t prepared[4096]{};
    GetDlgItemTextW(real.window, IDC_TEXT, prepared, 4096);
    const auto samples = bench::Interleave(rounds,
                                           {
                                               {"ours", [&] { real.view.Refresh(); }},
                                               {"bare",
                                                [&] {
                                                    g_sink = CallNetworkParams();
                                                    SetDlgItemTextW(real.window, IDC_TEXT, prepared);
                                                }},
                                               {"platform", [&] { g_sink = CallNetworkParams(); }},
                                           },
                                           bench::Pump);
    Report("Summary refresh (" + source + ")", "the same call and a bare set of the same text", samples, judged);
}

// GetInterfaceInfo as the protocol asks, then GetIfEntry for every interface,
// as the interface list is built.
DWORD CallInterfaces()
{
    const IpHelperApi& api = CurrentIpHelperApi();
    ULONG length = 0;
    if (api.getInterfaceInfo(nullptr, &length) != ERROR_INSUFFICIENT_BUFFER)
        return ERROR_INVALID_DATA;
    HLOCAL block = api.localAlloc(LPTR, length);
    auto* info = static_cast<IP_INTERFACE_INFO*>(block);
    DWORD answer = api.getInterfaceInfo(info, &length);
    if (answer == NO_ERROR) {
        for (LONG i = 0; i < info->NumAdapters; ++i) {
            MIB_IFROW row{};
            row.dwIndex = info->Adapter[i].Index;
            answer |= api.getIfEntry(&row);
        }
    }
    api.localFree(block);
    return answer;
}

void StatusRefresh(int rounds, const std::string& source, bool judged)
{
    Hosted<ViewIpConfig> real(0, IDD_IPCONFIG);
    const uint32_t index = real.view.Page().SelectedIndex();
    InterfaceRecord record;
    NameValueList prepared;
    if (FAILED(NetworkInfo{}.FindInterface(index, record)) || FAILED(AppendInterfaceStatusRows(record, prepared))) {
        bench::Note("IP configuration \"Status\": no interface for the selected adapter here; not measured");
        return;
    }
    real.view.ShowTab(1);
    bench::Pump();
    HWND list = FirstChildOfClass(GetDlgItem(real.window, IDC_TABS), WC_LISTVIEWW);
    const auto samples = bench::Interleave(rounds,
                                           {
                                               {"ours", [&] { real.view.ShowTab(1); }},
                                               {"bare, redraw off",
                                                [&] {
                                                    g_sink = CallInterfaces();
                                                    FillPrepared(list, prepared, true);
                                                }},
                                               {"platform", [&] { g_sink = CallInterfaces(); }},
                                               {"bare, redraw on",
                                                [&] {
                                                    g_sink = CallInterfaces();
                                                    FillPrepared(list, prepared);
                                                }},
                                           },
                                           bench::Pump);
    Report("IP configuration \"Status\" refresh (" + source + ")", kListBaseline, samples, judged);
}

template <typename Stats>
void Number(Stats& stats, DWORD first)
{
    auto* field = reinterpret_cast<DWORD*>(&stats);
    for (size_t i = 0; i < sizeof(Stats) / sizeof(DWORD); ++i)
        field[i] = first * 1000003u + static_cast<DWORD>(i) * 7919u;
}

// A fake of this machine's size: three adapters, each with its interface.
void Script(FakeIpHelper& fake)
{
    fake.hostName = "vm";
    fake.dnsServers = {"10.255.255.53"};
    Number(fake.tcp, 1);
    Number(fake.ip, 2);
    Number(fake.udp, 3);
    Number(fake.icmp, 4);
    for (ULONG index = 2; index <= 4; ++index) {
        fake.adapters.push_back({.index = index,
                                 .name = "{0000000" + std::to_string(index) + "-0000-0000-0000-4E6574446576}",
                                 .ipAddresses = {"192.0.2." + std::to_string(index)},
                                 .gateways = {"192.0.2.1"}});
        FakeInterface entry{.index = index, .name = L"\\DEVICE\\TCPIP_" + std::to_wstring(index)};
        Number(entry.row, index);
        entry.row.dwIndex = index;
        fake.interfaces.push_back(entry);
    }
}

// Runs a section on the real platform, or on the fake when the platform
// cannot answer what the section needs.
template <typename Section>
void OnPlatformOrFake(bool platformAnswers, int rounds, Section section)
{
    if (platformAnswers) {
        section(rounds, "real platform", true);
        return;
    }
    FakeIpHelper fake;
    Script(fake);
    section(rounds, "IP helper fake, the platform cannot answer here", true);
}

bool StatisticsAnswer()
{
    for (const StatisticsTab& tab : kTabs)
        if (tab.platform() != NO_ERROR)
            return false;
    return true;
}

bool StatusAnswers()
{
    AdapterList adapters;
    InterfaceRecord record;
    const NetworkInfo info;
    return SUCCEEDED(info.QueryAdapters(adapters)) && !adapters.empty() &&
           SUCCEEDED(info.FindInterface(adapters.front().index, record));
}

}  // namespace

int RunViewRefreshBench(int rounds)
{
    bench::Note("View refreshes: " + std::to_string(rounds) +
                " rounds, contenders interleaved; medians, (25th–75th percentile)");
    OnPlatformOrFake(StatisticsAnswer(), rounds, StatisticsRefresh);
    OnPlatformOrFake(StatusAnswers(), rounds, StatusRefresh);
    NetworkParams params;
    OnPlatformOrFake(SUCCEEDED(NetworkInfo{}.QueryNetworkParams(params)), rounds, SummaryRefresh);
    return 0;
}
