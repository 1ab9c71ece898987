#pragma once
// Every interface the platform knows, loopback included, with its 64-bit
// counters, from GetIfTable2. Keyed by LUID: an index may be given to
// another interface once its own is gone, a LUID is not.
#include "netinfo/IpHelperHeaders.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace netinfo {

// Positions in InterfaceCounters::counters.
enum InterfaceCounter : std::size_t {
    kInOctets, kOutOctets, kInUcastPkts, kOutUcastPkts, kInNUcastPkts, kOutNUcastPkts,
    kInDiscards, kOutDiscards, kInErrors, kOutErrors, kInUnknownProtos, kInterfaceCounterCount
};

// The counters a watcher follows, at their positions: the key names each one
// in JSON.
struct InterfaceCounterField {
    InterfaceCounter position;
    const char* key;
    ULONG64 MIB_IF_ROW2::*field;
};

inline constexpr InterfaceCounterField kInterfaceCounterFields[] = {
    {kInOctets, "inOctets", &MIB_IF_ROW2::InOctets},
    {kOutOctets, "outOctets", &MIB_IF_ROW2::OutOctets},
    {kInUcastPkts, "inUcastPkts", &MIB_IF_ROW2::InUcastPkts},
    {kOutUcastPkts, "outUcastPkts", &MIB_IF_ROW2::OutUcastPkts},
    {kInNUcastPkts, "inNUcastPkts", &MIB_IF_ROW2::InNUcastPkts},
    {kOutNUcastPkts, "outNUcastPkts", &MIB_IF_ROW2::OutNUcastPkts},
    {kInDiscards, "inDiscards", &MIB_IF_ROW2::InDiscards},
    {kOutDiscards, "outDiscards", &MIB_IF_ROW2::OutDiscards},
    {kInErrors, "inErrors", &MIB_IF_ROW2::InErrors},
    {kOutErrors, "outErrors", &MIB_IF_ROW2::OutErrors},
    {kInUnknownProtos, "inUnknownProtos", &MIB_IF_ROW2::InUnknownProtos},
};

constexpr bool EveryCounterAtItsPosition()
{
    std::size_t i = 0;
    for (const InterfaceCounterField& entry : kInterfaceCounterFields)
        if (entry.position != i++)
            return false;
    return i == kInterfaceCounterCount;
}
static_assert(EveryCounterAtItsPosition());

struct InterfaceCounters {
    uint64_t luid = 0;
    uint32_t index = 0;
    std::wstring alias;
    std::wstring description;
    uint32_t type = 0;
    uint32_t operStatus = 0;
    uint64_t transmitLinkSpeed = 0; // bits/s; 0 and all ones mean unknown
    uint64_t receiveLinkSpeed = 0;
    uint32_t mtu = 0;
    std::array<uint64_t, kInterfaceCounterCount> counters{};

    bool operator==(const InterfaceCounters&) const = default;
};

using InterfaceCountersList = std::vector<InterfaceCounters>;

// Replaces the list with the platform's table, in its order: S_OK, or the
// HRESULT of the platform's answer (E_FAIL for success without a table) with
// the list untouched.
HRESULT QueryInterfaceCounters(InterfaceCountersList& interfaces);

// GetIfEntry for row.dwIndex: S_OK, or the HRESULT of the platform's answer.
HRESULT QueryInterfaceEntry(MIB_IFROW& row);

}  // namespace netinfo
