#include "netinfo/InterfaceTable.h"

#include "netinfo/IpHelperApi.h"
#include "netinfo/PlatformText.h"
#include "netinfo/Sizing.h"

#include <memory>

namespace netinfo {

HRESULT QueryInterfaceCounters(InterfaceCountersList& interfaces)
{
    const IpHelperApi& api = CurrentIpHelperApi();
    MIB_IF_TABLE2* raw = nullptr;
    if (const DWORD answer = api.getIfTable2(&raw); answer != NO_ERROR || !raw) {
        // A failing call should leave nothing to free; a table it left anyway goes back.
        if (raw)
            api.freeMibTable(raw);
        return PlatformResult(E_FAIL, answer);
    }
    const auto free = [&api](MIB_IF_TABLE2* table) { api.freeMibTable(table); };
    const std::unique_ptr<MIB_IF_TABLE2, decltype(free)> table(raw, free);

    InterfaceCountersList fresh;
    fresh.reserve(table->NumEntries);
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IF_ROW2& row = table->Table[i];
        InterfaceCounters& entry = fresh.emplace_back();
        entry.luid = row.InterfaceLuid.Value;
        entry.index = row.InterfaceIndex;
        entry.alias = TextOfField(row.Alias);
        entry.description = TextOfField(row.Description);
        entry.type = row.Type;
        entry.operStatus = static_cast<uint32_t>(row.OperStatus);
        entry.transmitLinkSpeed = row.TransmitLinkSpeed;
        entry.receiveLinkSpeed = row.ReceiveLinkSpeed;
        entry.mtu = row.Mtu;
        for (const InterfaceCounterField& counter : kInterfaceCounterFields)
            entry.counters[counter.position] = row.*counter.field;
    }
    interfaces = std::move(fresh);
    return S_OK;
}

HRESULT QueryInterfaceEntry(MIB_IFROW& row)
{
    return HRESULT_FROM_WIN32(CurrentIpHelperApi().getIfEntry(&row));
}

}  // namespace netinfo
