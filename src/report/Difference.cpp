#include "report/Difference.h"

namespace report {

CounterChange Differ(std::optional<uint64_t> previous, uint64_t current, CounterWidth width, uint64_t ns)
{
    CounterChange change;
    change.total = current;
    if (!previous)
        return change;
    uint64_t step = current - *previous;
    if (width == CounterWidth::Bits32)
        step &= 0xFFFF'FFFFu;
    const bool wrapped = current < *previous;
    if (wrapped && (width == CounterWidth::Bits64 || step >= uint64_t{1} << 31)) {
        change.reset = true;
        return change;
    }
    change.delta = step;
    if (ns != 0)
        change.rate = static_cast<double>(step) * 1e9 / static_cast<double>(ns);
    return change;
}

}  // namespace report
