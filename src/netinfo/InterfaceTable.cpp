#include "netinfo/InterfaceTable.h"

#include "netinfo/IpHelperApi.h"
#include "netinfo/PlatformText.h"

#include <memory>

namespace netinfo {

HRESULT QueryInterfaceCounters(InterfaceCountersList& interfaces)
{
    const IpHelperApi& api = CurrentIpHelperApi();
    MIB_IF_TABLE2* raw = nullptr;
    if (api.getIfTable2(&raw) != NO_ERROR || !raw) {
        // A failing call should leave nothing to free; a table it left anyway goes back.
        if (raw)
            api.freeMibTable(raw);
        return E_FAIL;
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

}  // namespace netinfo
