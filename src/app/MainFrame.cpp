#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/AppModule.h"
#include "resource_ids.h"
#include "shell/Shell.h"

#include <algorithm>
#include <memory>

namespace app {

const MainFrame::ViewRow MainFrame::kViews[] = {
    {1, ID_VIEW_SUMMARY, IDD_SUMMARY, &ViewOf<&MainFrame::summary_>, true},
    {2, ID_VIEW_IPCONFIG, IDD_IPCONFIG, &ViewOf<&MainFrame::ipConfig_>, true},
    {8, ID_VIEW_FINGER, IDD_FINGER, &ViewOf<&MainFrame::finger_>, false},
    {3, ID_VIEW_PING, IDD_PING, &ViewOf<&MainFrame::ping_>, false},
    {9, ID_VIEW_PORTSCAN, IDD_PORTSCAN, &ViewOf<&MainFrame::portScan_>, false},
    {7, ID_VIEW_NETSTAT, IDD_NETSTAT, &ViewOf<&MainFrame::netstat_>, true},
    {5, ID_VIEW_NSLOOKUP, IDD_NSLOOKUP, &ViewOf<&MainFrame::nsLookup_>, false},
    {4, ID_VIEW_TRACERT, IDD_TRACERT, &ViewOf<&MainFrame::tracert_>, false},
    {6, ID_VIEW_WHOIS, IDD_WHOIS, &ViewOf<&MainFrame::whois_>, false},
};

std::span<const MainFrame::ViewRow> MainFrame::Views()
{
    return kViews;
}

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
    info.icon = static_cast<HICON>(
        LoadImageW(Module().Resources(), MAKEINTRESOURCEW(IDR_MAINFRAME_RES), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    return info;
}

MainFrame::MainFrame()
{
    viewTable.reserve(10);
}

HWND MainFrame::CreateFrame()
{
    wchar_t title[256] = L"";
    if (LoadStringW(Module().Resources(), IDR_MAINFRAME_RES, title, 256) <= 0)
        title[0] = L'\0';
    if (!Create(Module().Instance(), nullptr, title, WS_CLIPCHILDREN | WS_CLIPSIBLINGS))
        return nullptr;
    accelerators_ = LoadAcceleratorsW(Module().Resources(), MAKEINTRESOURCEW(IDR_MAINFRAME_RES));
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
        menuBar_ = bar.hwndMB;
        FitToMenuBar();
    }
    uiState_.SetCheck(static_cast<UINT>(kViews[0].commandId), true);
    CreateViews();
    ShowView(kViews[0].viewIndex);
    if (MessageLoop* loop = Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    return 0;
}

// The frame ends where the menu bar begins.
void MainFrame::FitToMenuBar()
{
    RECT bar{}, frame{};
    GetWindowRect(menuBar_, &bar);
    GetWindowRect(m_hWnd, &frame);
    const int height = (IsWindowVisible(menuBar_) ? bar.top : bar.bottom) - frame.top;
    SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, height, SWP_NOZORDER | SWP_NOMOVE);
}

void MainFrame::CreateViews()
{
    const HMODULE resources = Module().Resources();
    for (const ViewRow& row : kViews)
        viewTable.push_back({row.viewIndex, row.view(*this).CreateView(resources, row.templateId, m_hWnd), row.commandId});
}

const ViewEntry* MainFrame::FindByIndex(int viewIndex) const
{
    for (const ViewEntry& e : viewTable)
        if (e.viewIndex == viewIndex)
            return &e;
    return nullptr;
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
    int target = kViews[0].viewIndex;
    for (const ViewEntry& e : viewTable) {
        if (e.commandId == commandId) {
            target = e.viewIndex;
            break;
        }
    }
    ShowView(target);
    uiState_.SetCheck(static_cast<UINT>(oldCommand), false);
    uiState_.SetCheck(static_cast<UINT>(commandId), true);
    return 0;
}

LRESULT MainFrame::RefreshCurrentView()
{
    const auto row = std::find_if(std::begin(kViews), std::end(kViews),
                                  [this](const ViewRow& r) { return r.viewIndex == currentView; });
    return row != std::end(kViews) && row->refreshes ? row->view(*this).Refresh() : 0;
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
    const bool viewCommand = id == ID_VIEW_UNBOUND || std::any_of(std::begin(kViews), std::end(kViews),
                                                                  [id](const ViewRow& r) { return r.commandId == id; });
    if (viewCommand)
        return SelectView(id);
    msgHandled = false;  // not ours: default processing
    return 0;
}

LRESULT MainFrame::OnInitMenuPopup(HMENU menu)
{
    uiState_.Apply(menu);
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
    return accelerators_ && TranslateAcceleratorW(m_hWnd, accelerators_, &msg) != 0;
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
