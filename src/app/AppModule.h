// Process-wide state: the program's instance, the resource library and the
// message loop of each user-interface thread.
#pragma once

#include "app/MessageLoop.h"

#include <windows.h>

#include <atomic>
#include <map>

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

// Loads localization.dll from the program's own folder as an image resource,
// so that none of its code runs; null when it is missing or cannot be mapped.
HMODULE LoadResourceLibrary();

}  // namespace app
