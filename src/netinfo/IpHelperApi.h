#pragma once
// The one door to the IP helper service and the local heap. The queries of
// this module call nothing else of the platform, so tests can put fakes
// behind this table and drive every answer the platform can give.
#include "netinfo/IpHelperHeaders.h"
#include "netinfo/Seam.h"

namespace netinfo {

struct IpHelperApi {
    DWORD(WINAPI* getNetworkParams)(PFIXED_INFO info, PULONG length);
    DWORD(WINAPI* getAdaptersInfo)(PIP_ADAPTER_INFO info, PULONG length);
    DWORD(WINAPI* getPerAdapterInfo)(ULONG interfaceIndex, PIP_PER_ADAPTER_INFO info, PULONG length);
    DWORD(WINAPI* getInterfaceInfo)(PIP_INTERFACE_INFO info, PULONG length);
    DWORD(WINAPI* getIfEntry)(PMIB_IFROW row);
    DWORD(WINAPI* getTcpStatistics)(PMIB_TCPSTATS stats);
    DWORD(WINAPI* getIpStatistics)(PMIB_IPSTATS stats);
    DWORD(WINAPI* getUdpStatistics)(PMIB_UDPSTATS stats);
    DWORD(WINAPI* getIcmpStatistics)(PMIB_ICMP stats);
    HLOCAL(WINAPI* localAlloc)(UINT flags, SIZE_T bytes);
    HLOCAL(WINAPI* localFree)(HLOCAL memory);
    // The interface table with 64-bit counters, which the platform allocates
    // and FreeMibTable gives back.
    DWORD(WINAPI* getIfTable2)(PMIB_IF_TABLE2* table);
    VOID(WINAPI* freeMibTable)(PVOID memory);
    // Both address families: friendly names, prefixes, gateways, DNS servers.
    ULONG(WINAPI* getAdaptersAddresses)(ULONG family, ULONG flags, PVOID reserved, PIP_ADAPTER_ADDRESSES addresses,
                                        PULONG length);
    // The protocol counters of one address family.
    ULONG(WINAPI* getTcpStatisticsEx)(PMIB_TCPSTATS stats, ULONG family);
    ULONG(WINAPI* getIpStatisticsEx)(PMIB_IPSTATS stats, ULONG family);
    ULONG(WINAPI* getUdpStatisticsEx)(PMIB_UDPSTATS stats, ULONG family);
    ULONG(WINAPI* getIcmpStatisticsEx)(PMIB_ICMP_EX stats, ULONG family);
};

// iphlpapi and kernel32 themselves.
const IpHelperApi& PlatformIpHelperApi();

// The table in use: the platform's unless a replacement is installed.
inline const IpHelperApi& CurrentIpHelperApi()
{
    return CurrentOr(PlatformIpHelperApi());
}

using IpHelperApiOverride = SeamOverride<IpHelperApi>;

}  // namespace netinfo
