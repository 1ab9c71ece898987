// Copies of localization.dll with chosen resources taken out or replaced,
// made at run time with the platform's resource updater.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct ResourceEdit {
    const wchar_t* type;  // RT_DIALOG, RT_MENU, ...
    int id;
    std::vector<unsigned char> data;  // empty: remove the resource
};

// A fresh folder under the temporary folder, removed by the caller with RemoveFolder.
std::wstring MakeTempFolder(const wchar_t* prefix);
void RemoveFolder(const std::wstring& folder);

// Writes `folder`\localization.dll: the real library with the edits applied.
bool WriteLocalizationVariant(const std::wstring& folder, const std::vector<ResourceEdit>& edits);

// The raw bytes of a resource of the real library.
std::vector<unsigned char> ResourceBytes(HMODULE module, const wchar_t* type, int id);

}  // namespace testing_support
