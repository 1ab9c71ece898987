// RelayoutFromTemplate on the largest dialog template of localization.dll,
// turning a live dialog between that template and its twin, against the same
// work done bare: a batch of the same moves with rectangles worked out
// beforehand plus the same content refresh with texts prepared, leaving texts
// already shown alone as the engine does (the fastest bare way we know).
#include "bench_support.h"

#include "layout/DialogTemplate.h"
#include "layout/Relayout.h"

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::span<const std::uint8_t> TemplateBytes(HMODULE module, int id)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found)};
}

BOOL CALLBACK CollectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(ids)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

struct Template {
    int id = 0;
    std::span<const std::uint8_t> bytes;
    std::vector<layout::TemplateItem> items;
    std::multiset<std::uint16_t> ids;
};

std::vector<Template> DialogTemplates(HMODULE module)
{
    std::vector<int> ids;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(5), CollectId, reinterpret_cast<LONG_PTR>(&ids));
    std::vector<Template> templates;
    for (int id : ids) {
        Template t;
        t.id = id;
        t.bytes = TemplateBytes(module, id);
        layout::TemplateHeader header;
        if (layout::ForEachItem(t.bytes, header, [&](const layout::TemplateItem& item) { t.items.push_back(item); }) !=
            layout::TemplateStatus::Ok)
            continue;
        for (const auto& item : t.items)
            t.ids.insert(item.id);
        templates.push_back(std::move(t));
    }
    return templates;
}

struct Move {
    HWND control;
    RECT rect;
};

// The moves the template asks for, in pixels of the live dialog.
std::vector<Move> MovesOf(HWND dialog, const Template& t)
{
    std::vector<Move> moves;
    for (const auto& item : t.items) {
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &r);
        if (HWND control = GetDlgItem(dialog, item.id))
            moves.push_back({control, r});
    }
    return moves;
}

void BareBatch(const std::vector<Move>& moves)
{
    HDWP batch = BeginDeferWindowPos(static_cast<int>(moves.size()));
    for (const Move& m : moves)
        batch = DeferWindowPos(batch, m.control, nullptr, m.rect.left, m.rect.top, m.rect.right - m.rect.left,
                               m.rect.bottom - m.rect.top, SWP_NOZORDER);
    EndDeferWindowPos(batch);
}

// What the template's content asks for, made ready beforehand: the texts of
// statics and buttons and the reselection of list and combo boxes.
struct ContentStep {
    HWND control;
    std::wstring text;
    UINT getSelection = 0;
    UINT setSelection = 0;
};

std::vector<ContentStep> ContentOf(HWND dialog, const Template& t)
{
    std::vector<ContentStep> steps;
    for (const auto& item : t.items) {
        HWND control = GetDlgItem(dialog, item.id);
        if (!control || item.windowClass.kind != layout::FieldKind::Ordinal)
            continue;
        switch (item.windowClass.ordinal) {
        case layout::kButtonClass:
        case layout::kStaticClass:
            if (item.title.kind != layout::FieldKind::Ordinal)
                steps.push_back({control, std::wstring(reinterpret_cast<const wchar_t*>(t.bytes.data() + item.title.textOffset),
                                                       item.title.textLength)});
            break;
        case layout::kListBoxClass:
            steps.push_back({control, {}, LB_GETCURSEL, LB_SETCURSEL});
            break;
        case layout::kComboBoxClass:
            steps.push_back({control, {}, CB_GETCURSEL, CB_SETCURSEL});
            break;
        default:
            break;
        }
    }
    return steps;
}

// With `compareFirst`, a text already shown is not set again.
void BareContent(const std::vector<ContentStep>& steps, bool compareFirst)
{
    wchar_t shown[256];
    for (const ContentStep& s : steps) {
        if (compareFirst && !s.getSelection &&
            SendMessageW(s.control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(shown)) >= 0 && s.text == shown)
            continue;
        if (s.getSelection) {
            const LRESULT selection = SendMessageW(s.control, s.getSelection, 0, 0);
            if (selection != -1)
                SendMessageW(s.control, s.setSelection, static_cast<WPARAM>(selection), 0);
        } else {
            SendMessageW(s.control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.text.c_str()));
        }
    }
}

volatile std::uintptr_t g_sink = 0;

// The engine's per-item platform look-ups alone: the control by id and its
// rectangle in pixels.
void LookUps(HWND dialog, const Template& t)
{
    for (const auto& item : t.items) {
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &r);
        g_sink = g_sink + reinterpret_cast<std::uintptr_t>(GetDlgItem(dialog, item.id)) + static_cast<std::uintptr_t>(r.left);
    }
}

// The engine's template reading alone: one check, one walk.
void ReadTemplate(HMODULE module, int id)
{
    const auto bytes = TemplateBytes(module, id);
    layout::TemplateHeader header;
    layout::ValidateTemplate(bytes, header);
    layout::ForEachItem(bytes, header, [](const layout::TemplateItem& item) { g_sink = g_sink + item.id; });
}

}  // namespace

int RunRelayoutBench(int rounds)
{
    HMODULE resources = bench::Resources();
    const std::vector<Template> templates = DialogTemplates(resources);
    if (templates.empty()) {
        bench::Note("Relayout: no dialog template in localization.dll; not measured");
        return 1;
    }
    const auto largest = std::max_element(templates.begin(), templates.end(), [](const Template& a, const Template& b) {
        return std::pair(a.items.size(), a.bytes.size()) < std::pair(b.items.size(), b.bytes.size());
    });
    // Its twin for the other orientation holds the same control ids.
    auto twin = std::find_if(templates.begin(), templates.end(),
                             [&](const Template& t) { return t.id != largest->id && t.ids == largest->ids; });
    if (twin == templates.end())
        twin = largest;
    const Template* sides[] = {&*largest, &*twin};

    HWND host = bench::CreateHost(0);
    HWND dialog = CreateDialogParamW(resources, MAKEINTRESOURCEW(largest->id), host, BareDialogProc, 0);
    ShowWindow(dialog, SW_SHOW);
    SetWindowPos(dialog, nullptr, 0, 0, 240, 268, SWP_NOZORDER | SWP_NOMOVE);
    bench::Pump();
    const std::vector<Move> moves[] = {MovesOf(dialog, *sides[0]), MovesOf(dialog, *sides[1])};
    const std::vector<ContentStep> content[] = {ContentOf(dialog, *sides[0]), ContentOf(dialog, *sides[1])};

    // Every sample turns the dialog to the twin's side and back, so each call
    // really moves the controls and every sample holds both directions.
    const auto bothSides = [](const auto& step) {
        step(1);
        step(0);
    };
    const auto samples = bench::Interleave(
        rounds,
        {
            {"ours", [&] { bothSides([&](int s) { layout::RelayoutFromTemplate(resources, dialog, sides[s]->id); }); }},
            {"bare with content, unchanged texts left alone",
             [&] {
                 bothSides([&](int s) {
                     BareBatch(moves[s]);
                     BareContent(content[s], true);
                 });
             }},
            {"bare", [&] { bothSides([&](int s) { BareBatch(moves[s]); }); }},
            {"bare with content, every text set",
             [&] {
                 bothSides([&](int s) {
                     BareBatch(moves[s]);
                     BareContent(content[s], false);
                 });
             }},
            {"look-ups", [&] { bothSides([&](int s) { LookUps(dialog, *sides[s]); }); }},
            {"reading", [&] { bothSides([&](int s) { ReadTemplate(resources, sides[s]->id); }); }},
        },
        bench::Pump);
    const bench::Spread ours = bench::SpreadOf(samples[0]);
    const bench::Spread baseline = bench::SpreadOf(samples[1]);
    const double batch = bench::SpreadOf(samples[2]).median;
    const double everyTextSet = bench::SpreadOf(samples[3]).median;
    bench::Row("RelayoutFromTemplate, template " + std::to_string(largest->id) + " ⇄ " + std::to_string(twin->id) +
                   " (" + std::to_string(largest->items.size()) +
                   " controls), against the bare batch of the same moves plus the same content refresh (texts already shown left alone)",
               ours, baseline, 1.2);
    bench::Note("Relayout: " + std::to_string(rounds) + " rounds; the baseline's content refresh (" +
                std::to_string(content[0].size()) +
                " texts and selections, prepared; a text already shown is read with WM_GETTEXT and left alone) costs " +
                bench::Format(baseline.median - batch) + " µs over the bare batch alone (" + bench::Format(batch) +
                " µs, ours " + bench::Format(batch > 0 ? ours.median / batch : 0, 2) + "× of it); ours minus the baseline: " +
                bench::Format(ours.median - baseline.median) + " µs; what only the engine does besides, alone: GetDlgItem and MapDialogRect for every item " +
                bench::Format(bench::SpreadOf(samples[4]).median) + " µs, finding, checking and walking the template " +
                bench::Format(bench::SpreadOf(samples[5]).median) + " µs (each sample turns there and back: two calls)");
    bench::Note("Relayout: the bare batch plus a content refresh that sets every text again takes " +
                bench::Format(everyTextSet) + " µs");
    DestroyWindow(host);
    bench::Pump();
    return 0;
}
