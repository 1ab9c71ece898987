// Process-wide state: the program's instance, the resource library and the
// message loop of each user-interface thread.
#pragma once

#include "app/MessageLoop.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <string>

namespace app {

class AppModule {
public:
    HRESULT Init(HINSTANCE instance);
    // Releases the loop registry and unregisters the window classes.
    void Term();

    HINSTANCE Instance() const { return instance_; }
    HMODULE Resources() const { return resources_.load(); }
    // Set once at start-up, before any window exists; returns the previous handle.
    HMODULE SetResources(HMODULE resources) { return resources_.exchange(resources); }

    bool AddMessageLoop(MessageLoop* loop);
    bool RemoveMessageLoop();
    MessageLoop* GetMessageLoop() const;

private:
    HINSTANCE instance_ = nullptr;
    std::atomic<HMODULE> resources_{nullptr};
    std::map<DWORD, MessageLoop*> loops_;
};

AppModule& Module();

// The program's own path is read through a buffer of this many characters,
// the terminator included: a fixed size of the product's design. A longer
// path is not read at all rather than cut.
inline constexpr DWORD kProgramPathLength = 256;

// The full path of the program's own file; empty when it fails or does not
// fit, with the platform's last error left as it was set.
std::wstring ProgramPath();

// Loads localization.dll from the program's own folder as an image resource,
// so that none of its code runs; null when it is missing or cannot be mapped.
HMODULE LoadResourceLibrary();

}  // namespace app
