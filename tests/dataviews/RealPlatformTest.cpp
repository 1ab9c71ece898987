// The three data views against the platform's own IP helper service (under
// Wine: the machine's real network data), with no fake installed. Each
// compares what the view shows with what the platform answers directly.
#include "DataViewsSupport.h"
#include "views/IpConfig/ViewIpConfig.h"
#include "netinfo/SummaryText.h"
#include "views/Summary/ViewSummary.h"
#include "resource_ids.h"
#include "views/Statistics/ViewNetstat.h"

#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace netinfo;
using namespace views;

using namespace dataviews;
using testing_support::WindowText;

namespace {

// Probe, then fill; empty with the platform's code when either call fails.
template <typename Call>
std::vector<unsigned char> Sized(Call call, DWORD& answer)
{
    ULONG length = 0;
    answer = call(nullptr, &length);
    if (answer != ERROR_BUFFER_OVERFLOW)
        return {};
    std::vector<unsigned char> buffer(length);
    answer = call(buffer.data(), &length);
    if (answer != NO_ERROR)
        buffer.clear();
    return buffer;
}

std::string Text(const char* field, size_t size)
{
    return std::string(field, strnlen(field, size));
}

TEST(RealPlatform, SummaryShowsTheNetworkParameters)
{
    ASSERT_NE(Resources(), nullptr);
    HostedView<ViewSummary> host;
    ASSERT_NE(host.window, nullptr);
    const std::wstring shown = WindowText(GetDlgItem(host.window, IDC_TEXT));

    DWORD answer = 0;
    const auto buffer = Sized([](void* b, ULONG* n) { return GetNetworkParams(static_cast<FIXED_INFO*>(b), n); },
                              answer);
    if (buffer.empty())
        GTEST_SKIP() << "GetNetworkParams failed with " << answer;
    const auto* info = reinterpret_cast<const FIXED_INFO*>(buffer.data());
    NetworkParams params;
    params.hostName = Text(info->HostName, sizeof info->HostName);
    params.domainName = Text(info->DomainName, sizeof info->DomainName);
    for (const IP_ADDR_STRING* node = &info->DnsServerList; node; node = node->Next)
        params.dnsServers.push_back(Text(node->IpAddress.String, sizeof node->IpAddress.String));
    EXPECT_EQ(shown, ComposeSummaryText(params));
    EXPECT_EQ(shown.rfind(L"Host: ", 0), 0u);
}

TEST(RealPlatform, StatisticsShowTheTcpSettings)
{
    ASSERT_NE(Resources(), nullptr);
    MessageBoxWatcher boxes;
    HostedView<ViewNetstat> host;
    ASSERT_NE(host.window, nullptr);

    MIB_TCPSTATS tcp{};
    const DWORD answer = GetTcpStatistics(&tcp);
    if (answer != NO_ERROR)
        GTEST_SKIP() << "GetTcpStatistics failed with " << answer;
    ASSERT_TRUE(boxes.boxes().empty());

    HWND list = ChildOfClass(GetDlgItem(host.window, IDC_TABS), WC_LISTVIEWW);
    std::map<std::wstring, std::wstring> shown;
    for (const NameValueRow& row : ListRows(list))
        shown[row.name] = row.value;
    ASSERT_EQ(shown.size(), 15u);
    // The settings do not change between two reads; the counters may.
    EXPECT_EQ(shown[L"Timeout algorithm"], std::to_wstring(tcp.dwRtoAlgorithm));
    EXPECT_EQ(shown[L"minimum time-out"], std::to_wstring(tcp.dwRtoMin));
    EXPECT_EQ(shown[L"maximum time-out"], std::to_wstring(tcp.dwRtoMax));
    EXPECT_EQ(shown[L"maximum connections"], std::to_wstring(tcp.dwMaxConn));
}

TEST(RealPlatform, ChooserListsTheAdapters)
{
    ASSERT_NE(Resources(), nullptr);
    HostedView<ViewIpConfig> host;
    ASSERT_NE(host.window, nullptr);
    HWND combo = ChildOfClass(host.view.Page().m_hWnd, L"ComboBox");
    const std::vector<ComboEntry> shown = ComboEntries(combo);

    DWORD answer = 0;
    const auto buffer =
        Sized([](void* b, ULONG* n) { return GetAdaptersInfo(static_cast<IP_ADAPTER_INFO*>(b), n); }, answer);
    if (buffer.empty() && answer == ERROR_NO_DATA) {
        EXPECT_TRUE(shown.empty()) << "no adapter but loopback";
        return;
    }
    if (buffer.empty())
        GTEST_SKIP() << "GetAdaptersInfo failed with " << answer;
    std::vector<ComboEntry> expected;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); a; a = a->Next) {
        const std::string name = Text(a->AdapterName, sizeof a->AdapterName);
        wchar_t wide[MAX_ADAPTER_NAME_LENGTH + 8]{};
        MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide, MAX_ADAPTER_NAME_LENGTH + 4);
        expected.push_back({wide, a->Index});
    }
    EXPECT_EQ(shown, expected);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(WindowText(ChildOfClass(host.view.Page().m_hWnd, L"Edit")),
              L"Selected adapter: " + std::to_wstring(expected.front().data) + L" with name " + expected.front().text);
}

}  // namespace
