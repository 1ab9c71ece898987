#include "report/ReadFailure.h"

#include <cstdio>
#include <memory>

namespace report {
namespace {

// "0x80070490 Element not found."
std::wstring Described(HRESULT code)
{
    wchar_t hex[16];
    std::swprintf(hex, std::size(hex), L"0x%08X", static_cast<unsigned>(code));
    const std::wstring text = SystemText(code);
    return text.empty() ? hex : hex + (L" " + text);
}

}  // namespace

std::wstring SystemText(HRESULT code)
{
    // The system's table knows Win32 errors by their own number.
    const DWORD message = HRESULT_FACILITY(code) == FACILITY_WIN32 ? HRESULT_CODE(code) : static_cast<DWORD>(code);
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                            FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                        nullptr, message, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(buffer, LocalFree);
    std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n' || c == L'\t')
            c = L' ';
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

ReadFailure MakeReadFailure(std::string_view page, const std::wstring& what, HRESULT code)
{
    return {std::string(page), L"Failed to read " + what + L": " + Described(code), static_cast<uint32_t>(code)};
}

ReadFailure TableReadFailure(const Page& table, HRESULT code)
{
    return {std::string(table.key), netinfo::kStatisticsReadFailed + (L": " + Described(code)),
            static_cast<uint32_t>(code)};
}

}  // namespace report
