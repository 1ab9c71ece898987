#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/AppModule.h"
#include "resource_ids.h"
#include "shell/Shell.h"

#include <algorithm>
#include <memory>

namespace app {

std::span<const MainFrame::Map::Entry> MainFrame::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::Create<&MainFrame::OnCreate>(),
        Map::Command<&MainFrame::ShowAbout>(ID_ABOUT),
        Map::Command<&MainFrame::RefreshCurrentView>(ID_REFRESH),
        Map::AnyCommand<&MainFrame::OnCommand>(),
        Map::InitMenuPopup<&MainFrame::OnInitMenuPopup>(),
        Map::Plain<&MainFrame::OnDestroy>(WM_DESTROY),
    };
    return map;
}

win::WindowClassInfo MainFrame::GetWindowClassInfo()
{
    win::WindowClassInfo info;
    info.name = kClassName;
    info.cursor = LoadCursorW(nullptr, IDC_ARROW);
    info.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    info.loadIcon = [] {
        return static_cast<HICON>(
            LoadImageW(Module().Resources(), MAKEINTRESOURCEW(IDR_MAINFRAME_RES), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    };
    return info;
}

// The rows are in creation order, which is also the order of the first reads
// at start-up: the Summary's, the IP configuration's, then the Statistics'.
// The first row is the view shown at the start and for a view command that
// no row has. A view index is the view's own fixed number, 1 to 9, kept apart
// from its row's position: the frame names the current view by it (0 for
// none), so lookups go by index or by command.
MainFrame::MainFrame()
    : viewTable{{
          {1, ID_VIEW_SUMMARY, IDD_SUMMARY, &summary},
          {2, ID_VIEW_IPCONFIG, IDD_IPCONFIG, &ipConfig},
          {8, ID_VIEW_FINGER, IDD_FINGER, &finger},
          {3, ID_VIEW_PING, IDD_PING, &ping},
          {9, ID_VIEW_PORTSCAN, IDD_PORTSCAN, &portScan},
          {7, ID_VIEW_NETSTAT, IDD_NETSTAT, &netstat},
          {5, ID_VIEW_NSLOOKUP, IDD_NSLOOKUP, &nsLookup},
          {4, ID_VIEW_TRACERT, IDD_TRACERT, &tracert},
          {6, ID_VIEW_WHOIS, IDD_WHOIS, &whois},
      }}
{
}

HWND MainFrame::CreateFrame()
{
    wchar_t title[256] = L"";
    if (LoadStringW(Module().Resources(), IDR_MAINFRAME_RES, title, 256) <= 0)
        title[0] = L'\0';
    if (!Create(Module().Instance(), nullptr, title, WS_CLIPCHILDREN | WS_CLIPSIBLINGS))
        return nullptr;
    accelerators = LoadAcceleratorsW(Module().Resources(), MAKEINTRESOURCEW(IDR_MAINFRAME_RES));
    return m_hWnd;
}

LRESULT MainFrame::OnCreate(const CREATESTRUCTW&)
{
    shell::SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = m_hWnd;
    bar.dwFlags = shell::SHCMBF_HMENU;
    bar.nToolBarId = IDR_MENUBAR;
    bar.hInstRes = Module().Resources();
    if (shell::SHCreateMenuBar(&bar)) {
        menuBar = bar.hwndMB;
        shell::FitToMenuBar(m_hWnd, menuBar);
    }
    checkMarks.SetCheck(static_cast<UINT>(viewTable[0].commandId), true);
    CreateViews();
    ShowView(viewTable[0].viewIndex);
    if (MessageLoop* loop = Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    return 0;
}

void MainFrame::CreateViews()
{
    const HMODULE resources = Module().Resources();
    for (ViewEntry& entry : viewTable)
        entry.viewWindow = entry.view->CreateView(resources, entry.templateId, m_hWnd);
}

const ViewEntry* MainFrame::FindByIndex(int viewIndex) const
{
    const auto found = std::find_if(viewTable.begin(), viewTable.end(),
                                    [viewIndex](const ViewEntry& e) { return e.viewIndex == viewIndex; });
    return found != viewTable.end() ? &*found : nullptr;
}

const ViewEntry* MainFrame::FindByCommand(int commandId) const
{
    const auto found = std::find_if(viewTable.begin(), viewTable.end(),
                                    [commandId](const ViewEntry& e) { return e.commandId == commandId; });
    return found != viewTable.end() ? &*found : nullptr;
}

void MainFrame::ShowView(int viewIndex)
{
    if (viewIndex == currentView)
        return;
    const ViewEntry* next = FindByIndex(viewIndex);
    const ViewEntry* previous = FindByIndex(currentView);
    currentView = viewIndex;
    if (previous && previous->viewWindow)
        ShowWindow(previous->viewWindow, SW_HIDE);
    if (next && next->viewWindow)
        ShowWindow(next->viewWindow, SW_SHOW);
}

LRESULT MainFrame::SelectView(int commandId)
{
    const ViewEntry* current = FindByIndex(currentView);
    const int oldCommand = current ? current->commandId : 0;
    const ViewEntry* target = FindByCommand(commandId);
    ShowView(target ? target->viewIndex : viewTable[0].viewIndex);
    checkMarks.SetCheck(static_cast<UINT>(oldCommand), false);
    checkMarks.SetCheck(static_cast<UINT>(commandId), true);
    return 0;
}

// The views without data answer with their base's Refresh, which reads nothing.
LRESULT MainFrame::RefreshCurrentView()
{
    const ViewEntry* current = FindByIndex(currentView);
    return current ? current->view->Refresh() : 0;
}

LRESULT MainFrame::ShowAbout()
{
    CAboutDlg about;
    about.RunModal(m_hWnd);
    return 0;
}

// Every view command; 40010 is one without a view.
LRESULT MainFrame::OnCommand(int id, int, HWND)
{
    if (id == ID_VIEW_UNBOUND || FindByCommand(id))
        return SelectView(id);
    msgHandled = false;  // not ours: default processing
    return 0;
}

LRESULT MainFrame::OnInitMenuPopup(HMENU menu)
{
    checkMarks.Apply(menu);
    msgHandled = false;  // the default handling still runs
    return 0;
}

LRESULT MainFrame::OnDestroy()
{
    // A top-level window: its end is the program's end.
    PostQuitMessage(1);
    return 0;
}

bool MainFrame::PreTranslateMessage(MSG& msg)
{
    return accelerators && TranslateAcceleratorW(m_hWnd, accelerators, &msg) != 0;
}

bool MainFrame::OnIdle()
{
    return false;
}

int RunMainFrame(const wchar_t*, int showCommand)
{
    auto loop = std::make_unique<MessageLoop>();
    Module().AddMessageLoop(loop.get());
    auto frame = std::make_unique<MainFrame>();
    if (!frame->CreateFrame()) {
        Module().RemoveMessageLoop();
        return -1;
    }
    ShowWindow(frame->m_hWnd, showCommand);
    const int result = loop->Run();
    Module().RemoveMessageLoop();
    frame.reset();
    loop.reset();
    return result;
}

}  // namespace app
