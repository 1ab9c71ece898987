// The program's one top-level window: it owns the menu bar and the nine tool
// views and shows one view at a time.
#pragma once

#include "app/MessageLoop.h"
#include "ViewIpconfig/ViewIpConfig.h"
#include "ViewSummary/ViewSummary.h"
#include "views/ViewFinger.h"
#include "views/ViewNetstat.h"
#include "views/ViewNsLookup.h"
#include "views/ViewPing.h"
#include "views/ViewPortScan.h"
#include "views/ViewTracert.h"
#include "views/ViewWhois.h"
#include "win/UiStateList.h"
#include "win/Window.h"

#include <vector>

struct ViewEntry {
    int viewIndex;
    HWND viewWindow;
    int commandId;
};

class MainFrame : public win::CWindowImpl<MainFrame>, public MessageFilter, public IdleHandler {
public:
    static constexpr wchar_t kClassName[] = L"OrvaneClass";

    using Map = win::MessageMap<MainFrame>;
    static std::span<const Map::Entry> GetMessageMap();
    static win::WindowClassInfo GetWindowClassInfo();

    MainFrame();

    // Creates the window with the title of string 101 and loads accelerator table 101.
    HWND CreateFrame();

    void CreateViews();
    void ShowView(int viewIndex);
    LRESULT SelectView(int commandId);
    LRESULT RefreshCurrentView();
    LRESULT ShowAbout();

    bool PreTranslateMessage(MSG& msg) override;
    bool OnIdle() override;

    int CurrentView() const { return currentView; }
    const std::vector<ViewEntry>& ViewTable() const { return viewTable; }
    HWND MenuBar() const { return menuBar_; }
    const win::UiStateList& UiState() const { return uiState_; }

    ViewSummary& Summary() { return summary_; }
    ViewIpConfig& IpConfig() { return ipConfig_; }
    ViewNetstat& Netstat() { return netstat_; }
    ViewPortScan& PortScan() { return portScan_; }

private:
    struct ViewSlot {
        int viewIndex;
        int commandId;
        HWND (*create)(MainFrame&, HMODULE);
    };
    static const ViewSlot kViews[9];

    LRESULT OnCreate(const CREATESTRUCTW&);
    LRESULT OnViewCommand(int id, int code, HWND control);
    LRESULT OnInitMenuPopup(HMENU menu);
    LRESULT OnDestroy();

    void FitToMenuBar();
    const ViewEntry* FindByIndex(int viewIndex) const;

    HACCEL accelerators_ = nullptr;
    HWND menuBar_ = nullptr;
    win::UiStateList uiState_{ID_VIEW_NETSTAT, ID_VIEW_SUMMARY};

    ViewSummary summary_;
    ViewIpConfig ipConfig_;
    ViewFinger finger_;
    ViewPing ping_;
    ViewPortScan portScan_;
    ViewNetstat netstat_;
    ViewNsLookup nsLookup_;
    ViewTracert tracert_;
    ViewWhois whois_;

    std::vector<ViewEntry> viewTable;
    int currentView = 0;
};

// Creates the frame, runs the message loop and returns its result; -1 when
// the frame's window cannot be created.
int RunMainFrame(const wchar_t* commandLine, int showCommand);
