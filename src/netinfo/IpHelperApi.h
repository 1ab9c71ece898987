#pragma once
// The one door to the IP helper service and the local heap. NetworkInfo and
// ProtocolStatistics call nothing else of the platform, so tests can put
// fakes behind this table and drive every answer the platform can give.
#include <windows.h>
#include <iphlpapi.h>

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
};

// iphlpapi and kernel32 themselves.
const IpHelperApi& PlatformIpHelperApi();

// The table in use: the platform's unless a replacement is installed.
const IpHelperApi& CurrentIpHelperApi();

// Puts a replacement table in place for its own lifetime and then puts back
// whatever was there before. The table must outlive the guard.
class IpHelperApiOverride {
public:
    explicit IpHelperApiOverride(const IpHelperApi& replacement);
    ~IpHelperApiOverride();
    IpHelperApiOverride(const IpHelperApiOverride&) = delete;
    IpHelperApiOverride& operator=(const IpHelperApiOverride&) = delete;

private:
    const IpHelperApi* previous_;
};

}  // namespace netinfo
