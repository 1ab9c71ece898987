// The about dialog as a user meets it: the texts, the product version after
// each turn of the screen, and the ways to close it.
#include "app/AboutDlg.h"
#include "app/AppModule.h"
#include "layout/DialogTemplate.h"
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/ResourceVariants.h"
#include "support/WineWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace app;

using namespace testing_support;

namespace {

// Runs the dialog modally and calls `step` with it on each timer tick until
// `step` returns false.
struct AboutDriver {
    static inline std::function<bool(HWND)> step;
    static inline HWND dialog = nullptr;

    static LRESULT CALLBACK Created(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && !dialog) {
            const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            if (cbt->lpcs->lpszClass == WC_DIALOG)
                dialog = reinterpret_cast<HWND>(wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        if (!dialog || !IsWindow(dialog) || !step(dialog))
            KillTimer(nullptr, id);
    }

    static INT_PTR Run(HWND owner, std::function<bool(HWND)> steps)
    {
        step = std::move(steps);
        dialog = nullptr;
        HHOOK hook = SetWindowsHookExW(WH_CBT, &Created, nullptr, GetCurrentThreadId());
        SetTimer(nullptr, 0, 20, &Tick);
        CAboutDlg about;
        const INT_PTR result = about.RunModal(owner);
        UnhookWindowsHookEx(hook);
        return result;
    }
};

class AboutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Module().Init(GetModuleHandleW(nullptr));
        Module().SetResources(LoadLocalization());
    }

    void SetUp() override
    {
        ASSERT_NE(Module().Resources(), nullptr);
        ASSERT_EQ(shell::ScreenHeight(), 320);
        owner = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr, nullptr,
                                nullptr, nullptr);
    }

    void TearDown() override
    {
        if (shell::ScreenHeight() != 320)
            shell::TurnScreen();
        DestroyWindow(owner);
        PumpMessages();
    }

    HWND owner = nullptr;
};

// Where the template puts a control, on the live dialog.
RECT TemplateRect(HWND dialog, int templateId, int controlId)
{
    layout::ParsedTemplate parsed;
    layout::ParseTemplate(ResourceBytes(Module().Resources(), RT_DIALOG, templateId), parsed);
    for (const auto& item : parsed.items) {
        if (item.id == controlId) {
            RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
            MapDialogRect(dialog, &r);
            return r;
        }
    }
    ADD_FAILURE() << "template " << templateId << " has no control " << controlId;
    return {};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

TEST(ProductVersion, IsTheProductVersionAsUnsignedParts)
{
    WORD major = 0, minor = 0, build = 0, revision = 0;
    ASSERT_EQ(CAboutDlg::ReadProductVersion(major, minor, build, revision), S_OK);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 65535);
    EXPECT_EQ(build, 32);
    EXPECT_EQ(revision, 0);
}

TEST(ProductVersion, LastErrorBecomesAnHresult)
{
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(LastErrorAsHresult(), static_cast<HRESULT>(0x80070005));
    SetLastError(0x12345);  // only the low word is kept
    EXPECT_EQ(LastErrorAsHresult(), static_cast<HRESULT>(0x80072345));
    SetLastError(0);
    EXPECT_EQ(LastErrorAsHresult(), E_FAIL);
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));  // already an HRESULT
    EXPECT_EQ(LastErrorAsHresult(), E_OUTOFMEMORY);
}

TEST(AboutText, HasFourLinesWithTheThirdEmpty)
{
    const std::wstring text = CAboutDlg::kAboutText;
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t at; (at = text.find(L"\r\n", start)) != std::wstring::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find(L"Orvane"), std::wstring::npos);
    EXPECT_FALSE(lines[1].empty());
    EXPECT_TRUE(lines[2].empty());
    EXPECT_FALSE(lines[3].empty());
    EXPECT_EQ(text.find(L'\n', 0), text.find(L"\r\n") + 1);  // no bare line feeds
}

TEST_F(AboutTest, ShowsTheTextAndTheVersionAndRewritesItAfterEachTurn)
{
    std::vector<std::wstring> versions;
    bool portraitPlaced = false, landscapePlaced = false, logoPlaced = false, fullScreen = false;
    int tick = 0;
    const INT_PTR result = AboutDriver::Run(owner, [&](HWND dialog) {
        switch (tick++) {
        case 0:
            EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_TEXT)), CAboutDlg::kAboutText);
            // The focus rests on OK, not in the text, which would show it selected.
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
            versions.push_back(WindowText(GetDlgItem(dialog, IDC_VERSION)));
            fullScreen = ClientSizeOf(dialog).cx == 240 && ClientSizeOf(dialog).cy == 268;
            SetDlgItemTextW(dialog, IDC_VERSION, L"stale");
            shell::TurnScreen();
            versions.push_back(WindowText(GetDlgItem(dialog, IDC_VERSION)));
            landscapePlaced = SameRect(TemplateRect(dialog, IDD_ABOUT_LANDSCAPE, IDC_VERSION),
                                       ChildRect(GetDlgItem(dialog, IDC_VERSION)));
            // The logo keeps a visible size through the turn.
            logoPlaced = SameRect(TemplateRect(dialog, IDD_ABOUT_LANDSCAPE, IDC_ABOUT_LOGO),
                                  ChildRect(GetDlgItem(dialog, IDC_ABOUT_LOGO))) &&
                         ClientSizeOf(GetDlgItem(dialog, IDC_ABOUT_LOGO)).cx > 0;
            SetDlgItemTextW(dialog, IDC_VERSION, L"stale");
            shell::TurnScreen();
            versions.push_back(WindowText(GetDlgItem(dialog, IDC_VERSION)));
            portraitPlaced = SameRect(TemplateRect(dialog, IDD_ABOUT, IDC_VERSION),
                                      ChildRect(GetDlgItem(dialog, IDC_VERSION)));
            return true;
        default:
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            return false;
        }
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(fullScreen);
    EXPECT_EQ(versions, (std::vector<std::wstring>{L"1.65535.32.0", L"1.65535.32.0", L"1.65535.32.0"}));
    EXPECT_TRUE(landscapePlaced);
    EXPECT_TRUE(logoPlaced);
    EXPECT_TRUE(portraitPlaced);
}

TEST_F(AboutTest, ClosesWithOkCancelOrTheDoneButton)
{
    auto sendOnce = [](UINT message, WPARAM wParam) {
        return [=](HWND dialog) {
            SendMessageW(dialog, message, wParam, 0);
            return false;
        };
    };
    EXPECT_EQ(AboutDriver::Run(owner, sendOnce(WM_COMMAND, IDOK)), IDOK);
    EXPECT_EQ(AboutDriver::Run(owner, sendOnce(WM_COMMAND, IDCANCEL)), IDCANCEL);
    // The close box of the title bar stands for the Done button.
    EXPECT_EQ(AboutDriver::Run(owner, sendOnce(WM_SYSCOMMAND, SC_CLOSE)), IDOK);
}

TEST_F(AboutTest, WithoutItsTemplateItDoesNotOpen)
{
    const std::wstring folder = MakeTempFolder(L"orvane-about-");
    ASSERT_TRUE(WriteLocalizationVariant(folder, {{RT_DIALOG, IDD_ABOUT, {}}}));
    HMODULE variant = LoadLocalization(folder + L"localization.dll");
    ASSERT_NE(variant, nullptr);
    const HMODULE real = Module().SetResources(variant);
    CAboutDlg about;
    EXPECT_EQ(about.RunModal(owner), -1);
    Module().SetResources(real);
    FreeLibrary(variant);
    RemoveFolder(folder);
}

}  // namespace
