// The adapter page filled with 1, 16 and 256 adapters of the IP helper fake:
// the time per adapter should stay flat (linear growth). The fake's own
// answers are timed alone as well, so that its share can be told apart.
#include "bench_support.h"

#include "support/FakeIpHelper.h"
#include "resource_ids.h"
#include "views/IpConfig/ViewIpConfig.h"
#include "netinfo/IpHelperApi.h"
#include "netinfo/NetworkInfo.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

using namespace netinfo;
using namespace views;

namespace {

std::vector<FakeAdapter> Adapters(int count)
{
    std::vector<FakeAdapter> adapters;
    for (int i = 1; i <= count; ++i) {
        wchar_t guid[48];
        wsprintfW(guid, L"{%08X-0000-0000-0000-4E6574446576}", i);
        std::string name;
        for (const wchar_t* c = guid; *c; ++c)
            name += static_cast<char>(*c);
        const std::string n = std::to_string(i % 250 + 1);
        adapters.push_back({.index = static_cast<ULONG>(i),
                            .name = name,
                            .description = "Ethernet adapter " + std::to_string(i),
                            .dhcpEnabled = true,
                            .ipAddresses = {"10.0.0." + n},
                            .gateways = {"10.0.0.1"},
                            .dhcpServers = {"10.0.0.2"},
                            .dnsServers = {"10.0.0.3"}});
    }
    return adapters;
}

volatile DWORD g_sink = 0;

// What the fake answers for one fill: the inventory and every adapter's
// per-adapter data, probe and fill each.
void FakeAnswers()
{
    const IpHelperApi& api = CurrentIpHelperApi();
    ULONG length = 0;
    api.getAdaptersInfo(nullptr, &length);
    HLOCAL block = api.localAlloc(LPTR, length);
    auto* info = static_cast<IP_ADAPTER_INFO*>(block);
    DWORD answer = api.getAdaptersInfo(info, &length);
    for (const IP_ADAPTER_INFO* a = answer == NO_ERROR ? info : nullptr; a; a = a->Next) {
        ULONG perLength = 0;
        api.getPerAdapterInfo(a->Index, nullptr, &perLength);
        HLOCAL per = api.localAlloc(LPTR, perLength);
        answer |= api.getPerAdapterInfo(a->Index, static_cast<IP_PER_ADAPTER_INFO*>(per), &perLength);
        api.localFree(per);
    }
    api.localFree(block);
    g_sink = answer;
}

}  // namespace

int RunAdapterPageBench(int rounds)
{
    constexpr std::array<int, 3> kCounts{1, 16, 256};
    std::array<std::vector<FakeAdapter>, 3> sets{Adapters(1), Adapters(16), Adapters(256)};

    FakeIpHelper fake;
    fake.adapters = sets[0];
    HWND host = bench::CreateHost(0);
    auto view = std::make_unique<ViewIpConfig>();
    HWND window = view->CreateView(bench::Resources(), IDD_IPCONFIG, host);
    ShowWindow(window, SW_SHOW);
    bench::Pump();

    // The set goes into the fake untimed, right before each sample. The page
    // is filled with it untimed first, so that a sample refreshes a page of
    // the same size and never pays for emptying another contender's list.
    std::vector<bench::Contender> contenders;
    for (std::size_t k = 0; k < kCounts.size(); ++k) {
        const auto use = [&fake, &sets, k] {
            fake.adapters = sets[k];
            fake.ResetCounts();
        };
        const auto fillFirst = [&view, use] {
            use();
            view->ShowTab(0);
            bench::Pump();
        };
        contenders.push_back({"page", [&view] { view->ShowTab(0); }, fillFirst});
        contenders.push_back({"fake", [] { FakeAnswers(); }, use});
        contenders.push_back({"query", [] {
                                  AdapterList adapters;
                                  g_sink = static_cast<DWORD>(NetworkInfo{}.QueryAdapters(adapters));
                              },
                              use});
    }
    const auto samples = bench::Interleave(rounds, contenders, bench::Pump);

    std::array<double, 3> page{}, fakeShare{}, query{}, perAdapter{};
    for (std::size_t k = 0; k < kCounts.size(); ++k) {
        page[k] = bench::SpreadOf(samples[3 * k]).median;
        fakeShare[k] = bench::SpreadOf(samples[3 * k + 1]).median;
        query[k] = bench::SpreadOf(samples[3 * k + 2]).median;
        perAdapter[k] = page[k] / kCounts[k];
    }
    // Per further adapter, the fake's own answers taken out: flat when an
    // adapter costs no more between 16 and 256 than between 1 and 16.
    const auto ours = [&](std::size_t k) { return page[k] - fakeShare[k]; };
    const double low = (ours(1) - ours(0)) / (kCounts[1] - kCounts[0]);
    const double high = (ours(2) - ours(1)) / (kCounts[2] - kCounts[1]);
    const double growth = low > 0 ? high / low : 0;
    bench::RawRow("Adapter page fill (IP helper fake), cost of each further adapter, 16→256 against 1→16",
                  bench::Format(high, 2) + " µs/adapter", bench::Format(low, 2) + " µs/adapter",
                  bench::Format(growth, 2) + "×", "flat (≤ 1.25×)", low > 0 && growth <= 1.25);
    const auto triple = [](const std::array<double, 3>& v) {
        return bench::Format(v[0]) + " / " + bench::Format(v[1]) + " / " + bench::Format(v[2]) + " µs";
    };
    bench::Note("Adapter page: " + std::to_string(rounds) + " rounds; for 1 / 16 / 256 adapters the whole fill takes " +
                triple(page) + ", the fake's own answers in it " + triple(fakeShare) +
                ", NetworkInfo::QueryAdapters alone (fake included) " + triple(query) + "; time per adapter " +
                bench::Format(page[0] / kCounts[0]) + " / " + bench::Format(page[1] / kCounts[1]) + " / " +
                bench::Format(page[2] / kCounts[2]) + " µs");
    DestroyWindow(host);
    bench::Pump();
    return 0;
}
