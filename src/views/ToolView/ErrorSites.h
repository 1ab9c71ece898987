// Where the data views hand a failed read to the error check. The source
// names and line numbers below are fixed texts that users see in messages,
// not the names or lines of this tree's files: keep them as they are.
#pragma once

#include "netinfo/ErrorCheck.h"

namespace views {

struct ErrorSite {
    const char* source;
    int line;
};

inline constexpr ErrorSite kSummaryParamsSite{"ViewSummary/ViewSummary", 76};
inline constexpr ErrorSite kAdapterPageSite{"gui/viewipconfig/Page1", 135};
inline constexpr ErrorSite kIpConfigAdaptersSite{"ViewIpconfig/ViewIpconfig", 57};
inline constexpr ErrorSite kIpConfigInterfaceSite{"ViewIpconfig/ViewIpconfig", 64};
inline constexpr ErrorSite kIpConfigStatusRowsSite{"ViewIpconfig/ViewIpconfig", 65};

// The error check with a site's texts: a failed hr is thrown as an ErrT.
inline HRESULT CheckAt(HRESULT hr, const ErrorSite& site)
{
    return netinfo::ErrorCheck(hr, site.source, site.line);
}

}  // namespace views
