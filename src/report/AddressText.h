#pragma once
// Socket addresses as the platform writes them, for the addresses page.
#include "netinfo/AdapterAddresses.h"

#include <windows.h>

#include <optional>
#include <string>

namespace report {

// Windows Sockets for as long as it lives: its address texts need it.
class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    // S_OK, or the failure of WSAStartup as an HRESULT.
    HRESULT Status() const { return status_; }

private:
    HRESULT status_;
};

// "192.0.2.2", "fe80::1%4" (the scope of a link-local address after '%'),
// through WSAAddressToStringW; nothing when the platform cannot write it.
std::optional<std::wstring> AddressText(const netinfo::SocketAddress& address);

// "02-00-5E-10-00-01"; nothing for no bytes.
std::optional<std::wstring> PhysicalAddressText(const std::vector<BYTE>& bytes);

}  // namespace report
