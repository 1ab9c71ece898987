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

std::wstring ProgramPath()
{
    wchar_t path[kProgramPathLength];
    const DWORD length = GetModuleFileNameW(nullptr, path, kProgramPathLength);
    // A full buffer means a cut path, which would name another file.
    if (length == 0 || length >= kProgramPathLength)
        return {};
    return {path, length};
}

HMODULE LoadResourceLibrary()
{
    // Only the program's own folder: a bare name would also search the
    // current directory and PATH.
    std::wstring path = ProgramPath();
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return nullptr;
    path.resize(slash + 1);
    path += L"localization.dll";
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

}  // namespace app
