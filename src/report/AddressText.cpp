#include "report/AddressText.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cwchar>
#include <iterator>

namespace report {

WinsockSession::WinsockSession()
{
    WSADATA data{};
    const int error = WSAStartup(MAKEWORD(2, 2), &data);
    status_ = error == 0 ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(error));
}

WinsockSession::~WinsockSession()
{
    if (SUCCEEDED(status_))
        WSACleanup();
}

std::optional<std::wstring> AddressText(const netinfo::SocketAddress& address)
{
    // Longest IPv6 text with a scope and no port: 45 characters and the
    // scope's ten digits; INET6_ADDRSTRLEN leaves room for both.
    wchar_t text[INET6_ADDRSTRLEN + 16];
    DWORD length = static_cast<DWORD>(std::size(text));
    std::vector<BYTE> copy = address;  // the call takes a writable address
    if (copy.empty() || WSAAddressToStringW(reinterpret_cast<LPSOCKADDR>(copy.data()), static_cast<DWORD>(copy.size()),
                                            nullptr, text, &length) != 0)
        return std::nullopt;
    return std::wstring(text);
}

std::optional<std::wstring> PhysicalAddressText(const std::vector<BYTE>& bytes)
{
    if (bytes.empty())
        return std::nullopt;
    std::wstring text;
    for (const BYTE b : bytes) {
        wchar_t pair[4];
        std::swprintf(pair, std::size(pair), L"%02X", static_cast<unsigned>(b));
        text += (text.empty() ? L"" : L"-") + std::wstring(pair);
    }
    return text;
}

}  // namespace report
