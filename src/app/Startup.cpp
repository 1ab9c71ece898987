#include "app/Startup.h"

#include "app/AppModule.h"
#include "app/MainFrame.h"
#include "shell/Shell.h"

#include <commctrl.h>

namespace app {

int OrvaneMain(HINSTANCE instance, const wchar_t* commandLine, int showCommand)
{
    // Kept open for the life of the process: its existence marks the running instance.
    if (!CreateMutexW(nullptr, TRUE, kInstanceMutexName))
        return E_UNEXPECTED;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        shell::BringWindowForward(FindWindowW(MainFrame::kClassName, kMainWindowTitle));
        return 0;
    }

    Module().Init(instance);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    // Never freed: every user-interface resource comes from it until the end.
    HMODULE resources = LoadResourceLibrary();
    if (!resources)
        return -2;
    Module().SetResources(resources);

    const int result = RunMainFrame(commandLine, showCommand);
    Module().Term();
    return result;
}

}  // namespace app
