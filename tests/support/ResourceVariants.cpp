#include "support/ResourceVariants.h"

#include "support/WineWindows.h"

namespace testing_support {

std::wstring MakeTempFolder(const wchar_t* prefix)
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (unsigned n = GetTickCount();; ++n) {
        std::wstring folder = std::wstring(base) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(n);
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return folder + L"\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
}

void RemoveFolder(const std::wstring& folder)
{
    if (folder.empty())
        return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

namespace {

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// The language the library stores the resource under; neutral for a new one.
WORD LanguageOf(const wchar_t* type, int id)
{
    WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    if (HMODULE original = LoadLocalization()) {
        EnumResourceLanguagesW(original, type, MAKEINTRESOURCEW(id), &TakeLanguage,
                               reinterpret_cast<LONG_PTR>(&language));
        FreeLibrary(original);
    }
    return language;
}

}  // namespace

bool WriteLocalizationVariant(const std::wstring& folder, const std::vector<ResourceEdit>& edits)
{
    const std::wstring target = folder + L"localization.dll";
    if (!CopyFileW((ProgramFolder() + L"localization.dll").c_str(), target.c_str(), FALSE))
        return false;
    HANDLE update = BeginUpdateResourceW(target.c_str(), FALSE);
    if (!update)
        return false;
    bool ok = true;
    for (const ResourceEdit& e : edits) {
        void* data = e.data.empty() ? nullptr : const_cast<unsigned char*>(e.data.data());
        ok = ok && UpdateResourceW(update, e.type, MAKEINTRESOURCEW(e.id), LanguageOf(e.type, e.id),
                                   data, static_cast<DWORD>(e.data.size()));
    }
    return EndUpdateResourceW(update, !ok) && ok;
}

std::vector<unsigned char> ResourceBytes(HMODULE module, const wchar_t* type, int id)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
    return bytes ? std::vector<unsigned char>(bytes, bytes + SizeofResource(module, found))
                 : std::vector<unsigned char>{};
}

}  // namespace testing_support
