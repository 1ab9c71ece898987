// orvane-bench SECTION [ROUNDS]: one section of the in-process benchmarks,
// run by scripts/bench.sh. Sections: views, relayout, adapters, startup, watch;
// the soak (scripts/soak.sh).
#include "bench_support.h"

#include <commctrl.h>

#include <cwchar>
#include <cstdio>

int RunViewRefreshBench(int rounds);
int RunRelayoutBench(int rounds);
int RunAdapterPageBench(int rounds);
int RunStartupBench(int rounds);
int RunWatchBench(int rounds);
int RunSoakBench(long rounds);

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fputs("usage: orvane-bench views|relayout|adapters|startup|watch|soak [ROUNDS]\n", stderr);
        return 2;
    }
    const int rounds = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    if (!bench::Resources()) {
        std::fputs("orvane-bench: localization.dll is not beside the program\n", stderr);
        return 1;
    }
    const std::wstring section = argv[1];
    if (section == L"views")
        return RunViewRefreshBench(rounds > 0 ? rounds : 300);
    if (section == L"relayout")
        return RunRelayoutBench(rounds > 0 ? rounds : 1000);
    if (section == L"adapters")
        return RunAdapterPageBench(rounds > 0 ? rounds : 40);
    if (section == L"startup")
        return RunStartupBench(rounds > 0 ? rounds : 16);
    if (section == L"watch")
        return RunWatchBench(rounds > 0 ? rounds : 200);
    if (section == L"soak")
        return RunSoakBench(rounds > 0 ? rounds : 10000);
    std::fputs("orvane-bench: unknown section\n", stderr);
    return 2;
}
