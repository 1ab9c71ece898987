#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/AppModule.h"
#include "shell/Shell.h"

#include <memory>

const MainFrame::ViewSlot MainFrame::kViews[9] = {
    {1, ID_VIEW_SUMMARY, [](MainFrame& f, HMODULE r) { return f.summary_.CreateView(r, f.m_hWnd); }},
    {2, ID_VIEW_IPCONFIG, [](MainFrame& f, HMODULE r) { return f.ipConfig_.CreateView(r, f.m_hWnd); }},
    {8, ID_VIEW_FINGER, [](MainFrame& f, HMODULE r) { return f.finger_.CreateView(r, f.m_hWnd); }},
    {3, ID_VIEW_PING, [](MainFrame& f, HMODULE r) { return f.ping_.CreateView(r, f.m_hWnd); }},
    {9, ID_VIEW_PORTSCAN, [](MainFrame& f, HMODULE r) { return f.portScan_.CreateView(r, f.m_hWnd); }},
    {7, ID_VIEW_NETSTAT, [](MainFrame& f, HMODULE r) { return f.netstat_.CreateView(r, f.m_hWnd); }},
    {5, ID_VIEW_NSLOOKUP, [](MainFrame& f, HMODULE r) { return f.nsLookup_.CreateView(r, f.m_hWnd); }},
    {4, ID_VIEW_TRACERT, [](MainFrame& f, HMODULE r) { return f.tracert_.CreateView(r, f.m_hWnd); }},
    {6, ID_VIEW_WHOIS, [](MainFrame& f, HMODULE r) { return f.whois_.CreateView(r, f.m_hWnd); }},
};

std::span<const MainFrame::Map::Entry> MainFrame::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::Create<&MainFrame::OnCreate>(),
        Map::AnyCommand<&MainFrame::OnViewCommand>(),
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
    uiState_.SetCheck(ID_VIEW_SUMMARY, true);
    CreateViews();
    ShowView(1);
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
    for (const ViewSlot& slot : kViews)
        viewTable.push_back({slot.viewIndex, slot.create(*this, resources), slot.commandId});
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
    int target = 1;  // a command without a view shows the Summary
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
    switch (currentView) {
    case 1: return summary_.Refresh();
    case 2: return ipConfig_.Refresh();
    case 7: return netstat_.Refresh();
    default: return 0;
    }
}

LRESULT MainFrame::ShowAbout()
{
    CAboutDlg about;
    about.RunModal(m_hWnd);
    return 0;
}

LRESULT MainFrame::OnViewCommand(int id, int, HWND)
{
    switch (id) {
    case ID_VIEW_PING:
    case ID_VIEW_TRACERT:
    case ID_VIEW_SUMMARY:
    case ID_VIEW_UNBOUND:
    case ID_VIEW_NETSTAT:
    case ID_VIEW_NSLOOKUP:
    case ID_VIEW_PORTSCAN:
    case ID_VIEW_WHOIS:
    case ID_VIEW_FINGER:
    case ID_VIEW_IPCONFIG: return SelectView(id);
    case ID_ABOUT: return ShowAbout();
    case ID_REFRESH: return RefreshCurrentView();
    default:
        msgHandled = false;  // not ours: default processing
        return 0;
    }
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
