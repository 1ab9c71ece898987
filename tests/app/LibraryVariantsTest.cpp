// The frame over broken copies of its resource library: each resource it
// asks for missing in turn and a template cut short. The program must come up
// with what there is, and turning the screen must move what it can. The
// template forms are the relayout's tests.
#include "app/AboutDlg.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

using namespace test;

namespace {

// Where a view's controls are in portrait, after a turn and after the turn back.
struct Turned {
    std::vector<RECT> portrait, landscape, back;
};

Turned Turn(const Harness& h, int command)
{
    Turned t;
    for (auto* places : {&t.portrait, &t.landscape, &t.back}) {
        for (HWND c = h.View(command) ? GetWindow(h.View(command), GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
            places->push_back(ChildRect(c));
        if (places != &t.back)
            SendMessageW(h.frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
    }
    return t;
}

// Within a pixel: the dialog manager and the relayout round differently.
bool Near(const std::vector<RECT>& a, const std::vector<RECT>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const RECT& r, const RECT& q) {
               return std::abs(r.left - q.left) <= 1 && std::abs(r.top - q.top) <= 1 && std::abs(r.right - q.right) <= 1 && std::abs(r.bottom - q.bottom) <= 1;
           });
}

using Expect = std::function<void(const Harness&)>;

// The Ping view stays put on a turn, while the others move.
void PingStaysPut(const Harness& h)
{
    const Turned ping = Turn(h, ID_VIEW_PING), whois = Turn(h, ID_VIEW_WHOIS);
    EXPECT_TRUE(!ping.portrait.empty() && ping.landscape == ping.portrait && Near(ping.back, ping.portrait));
    EXPECT_FALSE(Near(whois.landscape, whois.portrait)) << "the turn happened";
}

std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> Variants()
{
    std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> all = {
        {"without the title string", {{RT_STRING, IDR_MAINFRAME_RES / 16 + 1, {}}},
         [](const Harness& h) { EXPECT_EQ(std::tuple(WindowText(h.frame->m_hWnd), h.frame->MenuBar() != nullptr), std::tuple(std::wstring(), true)); }},
        {"without the icon", {{RT_GROUP_ICON, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h) { EXPECT_EQ(SendDlgItemMessageW(h.View(ID_VIEW_SUMMARY), IDC_LOGO, STM_GETICON, 0, 0), 0); }},
        {"without accelerators", {{RT_ACCELERATOR, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h) {
             MSG key{h.frame->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
             EXPECT_FALSE(h.frame->PreTranslateMessage(key));
             h.Command(ID_VIEW_NETSTAT);
             EXPECT_TRUE(IsWindowVisible(h.View(ID_VIEW_NETSTAT))) << "commands still work";
         }},
        {"without the menu", {{RT_MENU, IDR_MENUBAR, {}}},
         [](const Harness& h) {
             EXPECT_EQ(std::tuple(h.frame->MenuBar(), ClientSize(h.frame->m_hWnd).cx, ClientSize(h.frame->m_hWnd).cy), std::tuple(HWND{}, 240L, 294L))
                 << "the screen below the taskbar";
             EXPECT_FALSE(Near(Turn(h, ID_VIEW_WHOIS).landscape, Turn(h, ID_VIEW_WHOIS).portrait)) << "it still turns";
         }},
        {"without the about dialog", {{RT_DIALOG, IDD_ABOUT, {}}}, [](const Harness& h) { EXPECT_EQ(app::CAboutDlg().RunModal(h.frame->m_hWnd), -1); }},
        {"the Ping landscape template cut short", {{RT_DIALOG, IDD_PING_LANDSCAPE, [] {
             auto bytes = ResourceBytes(LoadLocalization(), RT_DIALOG, IDD_PING_LANDSCAPE);
             return bytes.resize(bytes.size() / 2 & ~1u), bytes;
         }()}}, PingStaysPut},
    };
    for (const auto& row : app::MainFrame::Views()) {
        // The view whose template is missing has no window; the switching rules hold around it.
        const int other = row.commandId == ID_VIEW_NETSTAT ? ID_VIEW_IPCONFIG : ID_VIEW_NETSTAT;
        all.emplace_back("without template " + std::to_string(row.templateId), std::vector<ResourceEdit>{{RT_DIALOG, row.templateId, {}}},
                         [row, other](const Harness& h) {
                             const auto& views = h.frame->ViewTable();
                             EXPECT_EQ(std::count_if(views.begin(), views.end(), [](const auto& e) { return e.viewWindow != nullptr; }), 8);
                             EXPECT_EQ(std::tuple(h.View(row.commandId), IsWindowVisible(h.View(ID_VIEW_SUMMARY))), std::tuple(HWND{}, row.commandId != ID_VIEW_SUMMARY));
                             h.Command(other);
                             h.Command(row.commandId);
                             EXPECT_TRUE(std::none_of(views.begin(), views.end(), [](const auto& e) { return e.viewWindow && IsWindowVisible(e.viewWindow); }));
                             h.Command(other);
                             EXPECT_TRUE(IsWindowVisible(h.View(other)));
                         });
        if (!row.refreshes)
            all.emplace_back("without landscape template " + std::to_string(row.templateId + 1), std::vector<ResourceEdit>{{RT_DIALOG, row.templateId + 1, {}}},
                             [row](const Harness& h) {
                                 const Turned t = Turn(h, row.commandId);
                                 EXPECT_TRUE(t.landscape == t.portrait && Near(t.back, t.portrait));
                             });
    }
    return all;
}

TEST(LibraryVariants, TheFrameComesUpWithWhatThereIs)
{
    const HMODULE real = app::Module().Resources();
    for (const auto& [what, edits, expect] : Variants()) {
        SCOPED_TRACE(what);
        const std::wstring folder = TempFolder();
        ASSERT_TRUE(WriteLibraryVariant(folder, edits));
        HMODULE variant = LoadLocalization(folder + L"localization.dll");
        app::Module().SetResources(variant);
        expect(Harness());
        app::Module().SetResources(real);
        FreeLibrary(variant);
        RemoveFolder(folder);
    }
}

}  // namespace
