// The frame over broken copies of its resource library: each resource it
// asks for missing in turn, and templates cut short, in the extended form,
// 2,000 items long or naming an icon the library lacks. The program must
// come up with what there is, and turning the screen must move what it can.
#include "app/AboutDlg.h"
#include "layout/DialogTemplate.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

using namespace test;

namespace {

// A template of the real library, of the same built with every DIALOG read
// as DIALOGEX, or changed.
std::vector<unsigned char> Template(int id, bool extended = false, const std::function<void(std::vector<unsigned char>&)>& change = {})
{
    auto bytes = ResourceBytes(LoadLocalization(extended ? ProgramFolder() + L"extended\\localization.dll" : L""), RT_DIALOG, id);
    if (change)
        change(bytes);
    return bytes;
}

// The real items, then plain statics up to 2,000, with ids (4000 on) no control has.
void Pad(std::vector<unsigned char>& bytes)
{
    for (unsigned i = bytes[8] | bytes[9] << 8; i < 2000; ++i) {
        bytes.resize((bytes.size() + 3) & ~std::size_t{3});
        const WORD item[] = {WORD(SS_LEFT), WORD((WS_CHILD | WS_VISIBLE) >> 16), 0, 0, 0, 0, 4, 4, WORD(4000 + i), 0xFFFF, 0x82, 0, 0};
        bytes.insert(bytes.end(), reinterpret_cast<const unsigned char*>(item), reinterpret_cast<const unsigned char*>(item + 13));
    }
    bytes[8] = 2000 & 0xFF, bytes[9] = 2000 >> 8;
}

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

using Expect = std::function<void(const Harness&, const Turned& reference)>;  // reference: the Ping view over the real library

// The Ping view stays put on a turn, while the others move.
void PingStaysPut(const Harness& h, const Turned&)
{
    const Turned ping = Turn(h, ID_VIEW_PING), whois = Turn(h, ID_VIEW_WHOIS);
    EXPECT_TRUE(!ping.portrait.empty() && ping.landscape == ping.portrait && Near(ping.back, ping.portrait));
    EXPECT_FALSE(Near(whois.landscape, whois.portrait)) << "the turn happened";
}

std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> Variants()
{
    std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> all = {
        {"without the title string", {{RT_STRING, IDR_MAINFRAME_RES / 16 + 1, {}}},
         [](const Harness& h, const Turned&) { EXPECT_EQ(std::tuple(WindowText(h.frame->m_hWnd), h.frame->MenuBar() != nullptr), std::tuple(std::wstring(), true)); }},
        {"without the icon", {{RT_GROUP_ICON, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h, const Turned&) { EXPECT_EQ(SendDlgItemMessageW(h.View(ID_VIEW_SUMMARY), IDC_LOGO, STM_GETICON, 0, 0), 0); }},
        {"without accelerators", {{RT_ACCELERATOR, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h, const Turned&) {
             MSG key{h.frame->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
             EXPECT_FALSE(h.frame->PreTranslateMessage(key));
             h.Command(ID_VIEW_NETSTAT);
             EXPECT_TRUE(IsWindowVisible(h.View(ID_VIEW_NETSTAT))) << "commands still work";
         }},
        {"without the menu", {{RT_MENU, IDR_MENUBAR, {}}},
         [](const Harness& h, const Turned&) {
             EXPECT_EQ(std::tuple(h.frame->MenuBar(), ClientSize(h.frame->m_hWnd).cx, ClientSize(h.frame->m_hWnd).cy), std::tuple(HWND{}, 240L, 294L))
                 << "the screen below the taskbar";
             EXPECT_FALSE(Near(Turn(h, ID_VIEW_WHOIS).landscape, Turn(h, ID_VIEW_WHOIS).portrait)) << "it still turns";
         }},
        {"without the about dialog", {{RT_DIALOG, IDD_ABOUT, {}}}, [](const Harness& h, const Turned&) { EXPECT_EQ(app::CAboutDlg().RunModal(h.frame->m_hWnd), -1); }},
        {"the Summary's logo naming a missing icon",
         {{RT_DIALOG, IDD_SUMMARY, Template(IDD_SUMMARY, false, [](auto& bytes) {
               layout::TemplateHeader header;
               layout::ForEachItem(std::span<const std::uint8_t>(bytes), header, [&](const layout::TemplateItem& item) {
                   if (item.id == IDC_LOGO)
                       bytes[item.end - 4] = 0xE7;  // the title's ordinal, before an empty creation data count
               });
           })}},
         [](const Harness& h, const Turned&) { EXPECT_TRUE(IsWindowVisible(h.View(ID_VIEW_SUMMARY))); }},
        {"the Ping landscape template cut short", {{RT_DIALOG, IDD_PING_LANDSCAPE, Template(IDD_PING_LANDSCAPE, false, [](auto& b) { b.resize(b.size() / 2 & ~1u); })}},
         PingStaysPut},
        {"the Ping landscape template extended", {{RT_DIALOG, IDD_PING_LANDSCAPE, Template(IDD_PING_LANDSCAPE, true)}}, PingStaysPut},
        {"Ping's own template extended", {{RT_DIALOG, IDD_PING, Template(IDD_PING, true)}},  // the platform reads either form, the relayout not
         [](const Harness& h, const Turned& reference) {
             const Turned ping = Turn(h, ID_VIEW_PING);
             EXPECT_TRUE(ping.landscape == reference.landscape && ping.back == ping.landscape);
         }},
        {"the Ping landscape template of 2,000 items", {{RT_DIALOG, IDD_PING_LANDSCAPE, Template(IDD_PING_LANDSCAPE, false, Pad)}},
         [](const Harness& h, const Turned& reference) {
             const Turned ping = Turn(h, ID_VIEW_PING);
             EXPECT_TRUE(ping.landscape == reference.landscape && Near(ping.back, ping.portrait));
         }},
    };
    for (const auto& row : app::MainFrame::Views()) {
        // The view whose template is missing has no window; the switching rules hold around it.
        const int other = row.commandId == ID_VIEW_NETSTAT ? ID_VIEW_IPCONFIG : ID_VIEW_NETSTAT;
        all.emplace_back("without template " + std::to_string(row.templateId), std::vector<ResourceEdit>{{RT_DIALOG, row.templateId, {}}},
                         [row, other](const Harness& h, const Turned&) {
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
                             [row](const Harness& h, const Turned&) {
                                 const Turned t = Turn(h, row.commandId);
                                 EXPECT_TRUE(t.landscape == t.portrait && Near(t.back, t.portrait));
                             });
    }
    return all;
}

TEST(LibraryVariants, TheFrameComesUpWithWhatThereIs)
{
    const Turned reference = Turn(Harness(), ID_VIEW_PING);
    ASSERT_FALSE(Near(reference.landscape, reference.portrait));
    const HMODULE real = app::Module().Resources();
    for (const auto& [what, edits, expect] : Variants()) {
        SCOPED_TRACE(what);
        const std::wstring folder = TempFolder();
        ASSERT_TRUE(WriteLibraryVariant(folder, edits));
        HMODULE variant = LoadLocalization(folder + L"localization.dll");
        app::Module().SetResources(variant);
        expect(Harness(), reference);
        app::Module().SetResources(real);
        FreeLibrary(variant);
        RemoveFolder(folder);
    }
}

}  // namespace
