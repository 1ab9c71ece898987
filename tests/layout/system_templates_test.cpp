// Templates nobody here wrote: the standard-form dialogs of the platform's own
// DLLs. The engine must put every control back where the dialog manager put
// it when it created the dialog.
#include "layout/DialogTemplate.h"
#include "layout/Relayout.h"
#include "layout/RelayoutInternal.h"
#include "test_library.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <variant>
#include <vector>

using namespace layout;

namespace {

using ResourceName = std::variant<int, std::wstring>;

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    auto* names = reinterpret_cast<std::vector<ResourceName>*>(param);
    if (IS_INTRESOURCE(name))
        names->emplace_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    else
        names->emplace_back(std::wstring(name));
    return TRUE;
}

const wchar_t* AsResource(const ResourceName& name)
{
    if (const int* id = std::get_if<int>(&name))
        return MAKEINTRESOURCEW(*id);
    return std::get<std::wstring>(name).c_str();
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

constexpr std::size_t kLanguagesPerDialog = 6;

struct Tally {
    int templates = 0;
    int extended = 0;
    int notCreated = 0;
    int refused = 0;
    int controls = 0;
    int sharedIds = 0;
    int byId = 0;
    int roundedSizes = 0;
    int sizedItself = 0;
};

class Window {
public:
    explicit Window(HWND window) noexcept : window_(window) {}
    ~Window()
    {
        if (window_)
            DestroyWindow(window_);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND get() const noexcept { return window_; }

private:
    HWND window_;
};

std::span<const std::uint8_t> DialogResource(HMODULE module, const wchar_t* name, WORD language)
{
    HRSRC found = FindResourceExW(module, RT_DIALOG, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found)};
}

void CompareOne(HMODULE module, const ResourceName& name, WORD language, const std::string& label, HWND owner,
                Tally& tally)
{
    const auto bytes = DialogResource(module, AsResource(name), language);
    if (bytes.empty())
        return;
    ParsedTemplate parsed;
    const TemplateStatus status = ParseTemplate(bytes, parsed);
    if (status == TemplateStatus::ExtendedForm) {
        ++tally.extended;
        return;
    }
    // The platform's own templates are well formed: the reader must accept them all.
    if (status != TemplateStatus::Ok) {
        ADD_FAILURE() << label << ": the reader refused a platform template";
        ++tally.refused;
        return;
    }

    const bool child = (parsed.style & WS_CHILD) != 0;
    Window dialog{CreateDialogIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                             child ? owner : nullptr, PlainDialogProc, 0)};
    if (!dialog.get()) {
        ++tally.notCreated;
        return;
    }
    ++tally.templates;

    std::map<std::uint16_t, int> uses;
    for (const ParsedItem& item : parsed.items)
        ++uses[item.id];

    struct Expected {
        HWND control;
        RECT created;    // where the dialog manager put it
        RECT mapped;       // the template's corners mapped to pixels
        bool sizedItself;  // the control took another size than the template's at creation
        std::uint16_t id;
    };
    std::vector<Expected> expected;
    for (const ParsedItem& item : parsed.items) {
        // Items sharing an id all move the first control with it, by design.
        if (uses[item.id] > 1) {
            ++tally.sharedIds;
            continue;
        }
        HWND control = GetDlgItem(dialog.get(), item.id);
        if (!control)
            continue;
        // The dialog manager maps position and size each on its own.
        RECT placed{item.x, item.y, item.cx, item.cy};
        MapDialogRect(dialog.get(), &placed);
        const RECT created = ChildRect(control);
        const bool sizedItself = created.right - created.left != placed.right || created.bottom - created.top != placed.bottom;
        expected.push_back({control, created, MappedRect(dialog.get(), item.x, item.y, item.cx, item.cy), sizedItself,
                            item.id});
    }

    int i = 0;
    for (HWND c = GetWindow(dialog.get(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++i)
        SetWindowPos(c, nullptr, 613 + i, 419 + i, 17 + i % 5, 11 + i % 3, SWP_NOZORDER | SWP_NOACTIVATE);

    // The public entry finds the template by id in the thread's language;
    // other variants and named templates go in as bytes.
    const bool publicEntry = std::holds_alternative<int>(name)
                             && DialogResource(module, AsResource(name)).data() == bytes.data();
    tally.byId += publicEntry;
    const std::int32_t result = publicEntry ? RelayoutFromTemplate(module, dialog.get(), std::get<int>(name))
                                            : RelayoutFromBytes(module, dialog.get(), bytes);
    int unnamed = 0;
    for (const ParsedItem& item : parsed.items)
        unnamed += item.id == kUnnamedId;
    EXPECT_EQ(result, unnamed < 2 ? 1 : 0) << label;

    for (const Expected& e : expected) {
        const RECT actual = ChildRect(e.control);
        ++tally.controls;
        const auto where = [&] {
            return label + " control " + std::to_string(e.id) + ": " + ToString(actual) + ", created at "
                   + ToString(e.created) + ", template corners " + ToString(e.mapped);
        };
        EXPECT_TRUE(actual.left == e.created.left && actual.top == e.created.top) << where();
        // A control that sized itself at creation (image statics, combo boxes,
        // integral-height lists, up-downs that join their buddy) reacts in its
        // own way to the template's size: only its place is compared.
        if (e.sizedItself) {
            ++tally.sizedItself;
            continue;
        }
        // The relayout maps the corners, the dialog manager position and size
        // each on its own: the size may differ by a rounding pixel.
        EXPECT_EQ(actual, e.mapped) << where();
        EXPECT_LE(std::abs(actual.right - e.created.right), 1) << where();
        EXPECT_LE(std::abs(actual.bottom - e.created.bottom), 1) << where();
        tally.roundedSizes += !(actual == e.created);
    }
}

}  // namespace

TEST(SystemTemplates, ControlsReturnToWhereTheDialogManagerPutThem)
{
    Window owner{CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                                 nullptr)};
    ASSERT_NE(owner.get(), nullptr);

    Tally tally;
    int modules = 0;
    for (const wchar_t* file :
         {L"comdlg32.dll", L"shell32.dll", L"user32.dll", L"comctl32.dll", L"oledlg.dll", L"cryptui.dll",
          L"msacm32.dll", L"mpr.dll", L"serialui.dll", L"setupapi.dll", L"wininet.dll", L"localui.dll",
          L"avifil32.dll", L"browseui.dll", L"credui.dll", L"msvfw32.dll", L"oledb32.dll", L"shlwapi.dll",
          L"winspool.drv", L"wineps.drv", L"notepad.exe", L"regedit.exe", L"winecfg.exe", L"wordpad.exe"}) {
        HMODULE module =
            LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (!module)
            continue;
        ++modules;
        std::vector<ResourceName> names;
        EnumResourceNamesW(module, RT_DIALOG, CollectName, reinterpret_cast<LONG_PTR>(&names));
        const std::string dll(file, file + lstrlenW(file));
        for (const ResourceName& name : names) {
            std::vector<WORD> languages;
            EnumResourceLanguagesW(module, RT_DIALOG, AsResource(name), CollectLanguage,
                                   reinterpret_cast<LONG_PTR>(&languages));
            // Translations lay the same dialog out anew; a few of them keep the
            // run short. The one the public entry finds is always among them.
            const auto found = DialogResource(module, AsResource(name));
            std::size_t others = 0;
            for (WORD language : languages) {
                if (DialogResource(module, AsResource(name), language).data() != found.data()
                    && others++ >= kLanguagesPerDialog)
                    continue;
                const std::string label = dll + " dialog "
                                          + (std::holds_alternative<int>(name) ? std::to_string(std::get<int>(name))
                                                                               : std::string("(named)"))
                                          + " language " + std::to_string(language);
                CompareOne(module, name, language, label, owner.get(), tally);
            }
        }
        FreeLibrary(module);
    }

    std::printf("[ system  ] %d modules, %d templates compared (%d through the public entry; %d extended "
                "skipped, %d not created), %d controls compared (%d sizing themselves "
                "compared by position, %d sizes a rounding pixel off the dialog manager's), %d items with shared "
                "ids left out\n",
                modules, tally.templates, tally.byId, tally.extended, tally.notCreated, tally.controls,
                tally.sizedItself, tally.roundedSizes, tally.sharedIds);
    EXPECT_EQ(tally.refused, 0);
    EXPECT_GE(tally.templates, 400);
    EXPECT_GE(tally.controls, 4000);
    EXPECT_GE(tally.byId, 20);
}
