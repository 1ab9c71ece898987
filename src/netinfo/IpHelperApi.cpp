#include "netinfo/IpHelperApi.h"

namespace netinfo {

const IpHelperApi& PlatformIpHelperApi()
{
    static const IpHelperApi platform{
        GetNetworkParams,  GetAdaptersInfo, GetPerAdapterInfo, GetInterfaceInfo,
        GetIfEntry,        GetTcpStatistics, GetIpStatistics,  GetUdpStatistics,
        GetIcmpStatistics, LocalAlloc,      LocalFree,         GetIfTable2,
        FreeMibTable,      GetAdaptersAddresses, GetTcpStatisticsEx, GetIpStatisticsEx,
        GetUdpStatisticsEx, GetIcmpStatisticsEx,
    };
    return platform;
}

}  // namespace netinfo
