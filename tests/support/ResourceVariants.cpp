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

// Resource names and types by value: ordinals stay ordinals, strings are copied.
struct ResourceName {
    std::wstring text;
    WORD ordinal = 0;
    explicit ResourceName(LPCWSTR name)
    {
        if (IS_INTRESOURCE(name))
            ordinal = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        else
            text = name;
    }
    LPCWSTR get() const { return text.empty() ? MAKEINTRESOURCEW(ordinal) : text.c_str(); }
    bool Is(LPCWSTR other) const { return IS_INTRESOURCE(other) ? text.empty() && ordinal == reinterpret_cast<ULONG_PTR>(other) : text == other; }
};

struct Entry {
    ResourceName type, name;
    WORD language;
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR all)
{
    reinterpret_cast<std::vector<Entry>*>(all)->push_back({ResourceName(type), ResourceName(name), language});
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR all)
{
    return EnumResourceLanguagesW(module, type, name, &OnLanguage, all) || true;
}

BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR all)
{
    return EnumResourceNamesW(module, type, &OnName, all) || true;
}

}  // namespace

// The library is written afresh from the real one's resources, less or
// instead of the edited ones: the platform's updater cannot be trusted to
// delete a single resource.
bool WriteLocalizationVariant(const std::wstring& folder, const std::vector<ResourceEdit>& edits)
{
    const std::wstring target = folder + L"localization.dll";
    if (!CopyFileW((ProgramFolder() + L"localization.dll").c_str(), target.c_str(), FALSE))
        return false;
    HMODULE original = LoadLocalization();
    if (!original)
        return false;
    std::vector<Entry> all;
    EnumResourceTypesW(original, &OnType, reinterpret_cast<LONG_PTR>(&all));

    HANDLE update = BeginUpdateResourceW(target.c_str(), TRUE);
    bool ok = update != nullptr && !all.empty();
    std::vector<bool> applied(edits.size(), false);
    for (const Entry& e : all) {
        const ResourceEdit* edit = nullptr;
        for (size_t i = 0; i < edits.size(); ++i) {
            if (e.type.Is(edits[i].type) && e.name.Is(MAKEINTRESOURCEW(edits[i].id))) {
                edit = &edits[i];
                applied[i] = true;
            }
        }
        std::vector<unsigned char> data;
        if (edit) {
            data = edit->data;
        } else {
            HRSRC found = FindResourceExW(original, e.type.get(), e.name.get(), e.language);
            const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(original, found)));
            if (bytes)
                data.assign(bytes, bytes + SizeofResource(original, found));
        }
        if (!data.empty() && ok)
            ok = UpdateResourceW(update, e.type.get(), e.name.get(), e.language, data.data(), static_cast<DWORD>(data.size()));
    }
    // Edits for resources the library does not have add them.
    for (size_t i = 0; i < edits.size() && ok; ++i)
        if (!applied[i] && !edits[i].data.empty())
            ok = UpdateResourceW(update, edits[i].type, MAKEINTRESOURCEW(edits[i].id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                 const_cast<unsigned char*>(edits[i].data.data()), static_cast<DWORD>(edits[i].data.size()));
    FreeLibrary(original);
    if (!update)
        return false;
    if (!EndUpdateResourceW(update, !ok) || !ok)
        return false;

    // Check that the edits took.
    HMODULE variant = LoadLocalization(target);
    if (!variant)
        return false;
    for (const ResourceEdit& e : edits) {
        const bool present = FindResourceW(variant, MAKEINTRESOURCEW(e.id), e.type) != nullptr;
        ok = ok && present == !e.data.empty();
    }
    FreeLibrary(variant);
    return ok;
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
