#include "app/AppModule.h"

#include "win/WindowClass.h"

#include <string>

namespace app {

HRESULT AppModule::Init(HINSTANCE instance)
{
    instance_ = instance;
    return S_OK;
}

void AppModule::Term()
{
    loops_.clear();
    win::UnregisterClasses();
}

bool AppModule::AddMessageLoop(MessageLoop* loop)
{
    return loop && loops_.emplace(GetCurrentThreadId(), loop).second;
}

bool AppModule::RemoveMessageLoop()
{
    return loops_.erase(GetCurrentThreadId()) != 0;
}

MessageLoop* AppModule::GetMessageLoop() const
{
    const auto it = loops_.find(GetCurrentThreadId());
    return it == loops_.end() ? nullptr : it->second;
}

AppModule& Module()
{
    static AppModule module;
    return module;
}

HMODULE LoadResourceLibrary()
{
    // Only the program's own folder: a bare name would also search the
    // current directory and PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return nullptr;
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768)
            return nullptr;
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return nullptr;
    path.resize(slash + 1);
    path += L"localization.dll";
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

}  // namespace app
