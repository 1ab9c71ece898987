#include "win/DialogResource.h"

namespace win {

std::span<const std::uint8_t> LoadDialogTemplate(HMODULE resources, int templateId)
{
    HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(resources, found);
    const DWORD size = SizeofResource(resources, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), size};
}

}  // namespace win
