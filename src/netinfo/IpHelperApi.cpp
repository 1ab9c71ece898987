#include "netinfo/IpHelperApi.h"

namespace netinfo {

namespace {

const IpHelperApi* g_current = nullptr;

}  // namespace

const IpHelperApi& PlatformIpHelperApi()
{
    static const IpHelperApi platform{
        GetNetworkParams,  GetAdaptersInfo, GetPerAdapterInfo, GetInterfaceInfo,
        GetIfEntry,        GetTcpStatistics, GetIpStatistics,  GetUdpStatistics,
        GetIcmpStatistics, LocalAlloc,      LocalFree,
    };
    return platform;
}

const IpHelperApi& CurrentIpHelperApi()
{
    return g_current ? *g_current : PlatformIpHelperApi();
}

IpHelperApiOverride::IpHelperApiOverride(const IpHelperApi& replacement) : previous_(g_current)
{
    g_current = &replacement;
}

IpHelperApiOverride::~IpHelperApiOverride()
{
    g_current = previous_;
}

}  // namespace netinfo
