#pragma once
// A table of platform functions that tests replace for a scope. Code calls
// the platform only through the table in use, which is the platform's own
// unless a SeamOverride is alive.
#include <utility>

namespace netinfo {

template <typename Table>
inline const Table* g_replacement = nullptr;

// The replacement in use, or `platform` when there is none.
template <typename Table>
const Table& CurrentOr(const Table& platform)
{
    return g_replacement<Table> ? *g_replacement<Table> : platform;
}

// Puts a replacement table in place for its own lifetime and then puts back
// whatever was there before. The table must outlive the guard.
template <typename Table>
class SeamOverride {
public:
    explicit SeamOverride(const Table& replacement) : previous_(std::exchange(g_replacement<Table>, &replacement)) {}
    ~SeamOverride() { g_replacement<Table> = previous_; }
    SeamOverride(const SeamOverride&) = delete;
    SeamOverride& operator=(const SeamOverride&) = delete;

private:
    const Table* previous_;
};

}  // namespace netinfo
