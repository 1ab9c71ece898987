// What the in-process benchmarks share: a microsecond clock, interleaved
// pairs of samples, medians, and the result lines that scripts/bench.sh
// gathers into bench/RESULTS.md.
#pragma once

#include "support/Win32.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Microseconds on the performance counter.
double NowMicroseconds();

// Runs fn once and returns how long it took, in microseconds.
double Time(const std::function<void()>& fn);

struct Spread {
    double median = 0;
    double p25 = 0;
    double p75 = 0;
};
Spread SpreadOf(std::vector<double> samples);

// Samples of several contenders taken in turns: in every round each one runs
// once, the order rotating from round to round, so that drift in the machine
// reaches all of them alike. `settle` runs untimed before every sample.
struct Contender {
    std::string name;
    std::function<void()> run;
    std::function<void()> prepare = {};  // untimed, right before each of its samples
};
std::vector<std::vector<double>> Interleave(int rounds, const std::vector<Contender>& contenders,
                                            const std::function<void()>& settle);

// Dispatches every queued message of this thread.
inline void Pump()
{
    test::PumpMessages();
}

using test::ProgramFolder;

// localization.dll beside the program, loaded as the program loads it.
HMODULE Resources();

// A visible top-level window standing for the frame, at (x, 0), 400 x 400.
// Side by side, so that no host covers another one's painting.
HWND CreateHost(int x);

// One result line for the table: ours against the bare work, with the goal
// as the highest acceptable ratio. Prints "ROW|..." on standard output.
void Row(const std::string& what, const Spread& ours, const Spread& bare, double goal,
         const std::string& unit = "µs");
// A result line with texts of the caller's own (differences, counts).
void RawRow(const std::string& what, const std::string& ours, const std::string& bare, const std::string& result,
            const std::string& goal, bool met);
// A free-form line for the notes under the table ("NOTE|...").
void Note(const std::string& text);

std::string Format(double value, int decimals = 1);

// The committed private regions: Wine leaves GetProcessMemoryInfo's PrivateUsage at 0.
long long PrivateBytes();

}  // namespace bench
