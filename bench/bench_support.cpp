#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

double NowMicroseconds()
{
    static const double perMicrosecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMicrosecond;
}

double Time(const std::function<void()>& fn)
{
    const double start = NowMicroseconds();
    fn();
    return NowMicroseconds() - start;
}

Spread SpreadOf(std::vector<double> samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        const double position = q * static_cast<double>(samples.size() - 1);
        const auto low = static_cast<std::size_t>(position);
        const std::size_t high = std::min(low + 1, samples.size() - 1);
        const double fraction = position - static_cast<double>(low);
        return samples[low] + (samples[high] - samples[low]) * fraction;
    };
    return {at(0.5), at(0.25), at(0.75)};
}

std::vector<std::vector<double>> Interleave(int rounds, const std::vector<Contender>& contenders,
                                            const std::function<void()>& settle)
{
    std::vector<std::vector<double>> samples(contenders.size());
    const std::size_t n = contenders.size();
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t k = 0; k < n; ++k) {
            // Rotate the start and reverse every other round: A B, B A, ...
            const std::size_t step = static_cast<std::size_t>(round) % n;
            const std::size_t index = (round / static_cast<int>(n)) % 2 == 0 ? (step + k) % n
                                                                              : (step + n - k) % n;
            if (settle)
                settle();
            if (contenders[index].prepare)
                contenders[index].prepare();
            samples[index].push_back(Time(contenders[index].run));
        }
    }
    return samples;
}

HMODULE Resources()
{
    static const HMODULE resources =
        LoadLibraryExW((ProgramFolder() + L"localization.dll").c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return resources;
}

HWND CreateHost(int x)
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = L"OrvaneBenchHost";
        return RegisterClassW(&wc);
    }();
    if (!atom)
        return nullptr;
    HWND host = CreateWindowExW(0, L"OrvaneBenchHost", L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, 0, 400,
                                400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(host, SW_SHOW);
    Pump();
    return host;
}

std::string Format(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

long long PrivateBytes()
{
    long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region && region.RegionSize;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
    return total;
}

namespace {

std::string Described(const Spread& s, const std::string& unit)
{
    return Format(s.median) + " " + unit + " (" + Format(s.p25) + "–" + Format(s.p75) + ")";
}

}  // namespace

void RawRow(const std::string& what, const std::string& ours, const std::string& bare, const std::string& result,
            const std::string& goal, bool met)
{
    std::printf("ROW|%s|%s|%s|%s|%s|%s\n", what.c_str(), ours.c_str(), bare.c_str(), result.c_str(), goal.c_str(),
                met ? "met" : "**missed**");
    std::fflush(stdout);
}

void Row(const std::string& what, const Spread& ours, const Spread& bare, double goal, const std::string& unit)
{
    const double ratio = bare.median > 0 ? ours.median / bare.median : 0;
    RawRow(what, Described(ours, unit), Described(bare, unit), Format(ratio, 2) + "×", "≤ " + Format(goal, 2) + "×",
           ratio <= goal);
}

void Note(const std::string& text)
{
    std::printf("NOTE|%s\n", text.c_str());
    std::fflush(stdout);
}

}  // namespace bench
