#include "RemoteText.h"

#include <commctrl.h>

namespace {

constexpr int kTextChars = 512;

// A block of memory inside another process, freed on scope exit.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))
    {
    }
    ~RemoteBlock()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* at(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }

    bool Write(SIZE_T offset, const void* data, SIZE_T size) const
    {
        return WriteProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const
    {
        return ReadProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    void* address_;
};

std::wstring ItemText(HANDLE process, HWND listView, int item, int column)
{
    RemoteBlock block(process, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    if (!block)
        return {};
    LVITEMW request{};
    request.mask = LVIF_TEXT;
    request.iItem = item;
    request.iSubItem = column;
    request.cchTextMax = kTextChars;
    request.pszText = reinterpret_cast<wchar_t*>(block.at(sizeof(LVITEMW)));
    if (!block.Write(0, &request, sizeof request))
        return {};
    const auto length = SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                      reinterpret_cast<LPARAM>(block.at(0)));
    std::wstring text(kTextChars, L'\0');
    if (length <= 0 || !block.Read(sizeof(LVITEMW), text.data(), kTextChars * sizeof(wchar_t)))
        return {};
    text.resize(static_cast<size_t>(std::min<LRESULT>(length, kTextChars - 1)));
    return text;
}

}  // namespace

std::wstring ControlText(HWND control)
{
    std::wstring text(kTextChars * 4, L'\0');
    const auto length = SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

std::vector<std::pair<std::wstring, std::wstring>> ListViewRows(HANDLE process, HWND listView)
{
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    const auto count = SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        rows.emplace_back(ItemText(process, listView, i, 0), ItemText(process, listView, i, 1));
    return rows;
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    // The platform carries combo-box texts across processes itself.
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        const auto got = length >= 0 ? SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                                    reinterpret_cast<LPARAM>(text.data()))
                                     : CB_ERR;
        text.resize(static_cast<size_t>(got > 0 ? got : 0));
        items.push_back(text);
    }
    return items;
}
