#include "layout/Relayout.h"

#include "layout/DialogTemplate.h"
#include "layout/RelayoutInternal.h"
#include "win/DialogResource.h"

#include <cwchar>
#include <iterator>

namespace layout {

namespace {

constexpr std::uint32_t kStaticTypeMask = 0x1F;  // SS_TYPEMASK

const wchar_t* TextIn(std::span<const std::uint8_t> bytes, const TemplateField& field)
{
    // The reader checked that the text's terminating zero lies inside the bytes.
    return field.kind == FieldKind::Text ? reinterpret_cast<const wchar_t*>(bytes.data() + field.textOffset)
                                         : L"";
}

// Puts the template's text back. A control that already shows it is left
// alone: setting a text goes through the window server and repaints.
void RestoreText(HWND control, const wchar_t* text, std::size_t length)
{
    wchar_t shown[128];
    if (length < std::size(shown)) {
        const auto got = SendMessageW(control, WM_GETTEXT, std::size(shown), reinterpret_cast<LPARAM>(shown));
        if (got >= 0 && static_cast<std::size_t>(got) == length && std::wmemcmp(shown, text, length) == 0)
            return;
    }
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Shows the image and destroys the one it replaced. LoadIconW hands out
// shared icons: the old one may be the one just set.
template <typename Image, typename Destroy>
void ReplaceImage(HWND control, UINT type, Image image, Destroy destroy)
{
    const auto old = reinterpret_cast<Image>(SendMessageW(control, STM_GETIMAGE, type, 0));
    SendMessageW(control, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image));
    if (old && old != image)
        destroy(old);
}

void ReloadImage(HMODULE resources, HWND control, std::uint32_t itemStyle, std::uint16_t ordinal)
{
    switch (itemStyle & kStaticTypeMask) {
    case SS_ICON:
        ReplaceImage(control, IMAGE_ICON, LoadIconW(resources, MAKEINTRESOURCEW(ordinal)), DestroyIcon);
        break;
    case SS_BITMAP:
        ReplaceImage(control, IMAGE_BITMAP, LoadBitmapW(resources, MAKEINTRESOURCEW(ordinal)), DeleteObject);
        break;
    default:
        break;
    }
}

// Selecting the same item again scrolls it into view in the new size.
void Reselect(HWND control, UINT getSelection, UINT setSelection)
{
    const LRESULT selection = SendMessageW(control, getSelection, 0, 0);
    if (selection != -1)  // LB_ERR and CB_ERR
        SendMessageW(control, setSelection, static_cast<WPARAM>(selection), 0);
}

void RefreshContent(HMODULE resources, HWND control, std::span<const std::uint8_t> bytes,
                    const TemplateItem& item)
{
    if (item.windowClass.kind != FieldKind::Ordinal)
        return;
    switch (item.windowClass.ordinal) {
    case kButtonClass:
    case kStaticClass:
        if (item.title.kind == FieldKind::Ordinal)
            ReloadImage(resources, control, item.style, item.title.ordinal);
        else
            RestoreText(control, TextIn(bytes, item.title), item.title.textLength);
        break;
    case kListBoxClass:
        Reselect(control, LB_GETCURSEL, LB_SETCURSEL);
        break;
    case kComboBoxClass:
        Reselect(control, CB_GETCURSEL, CB_SETCURSEL);
        break;
    default:
        break;
    }
}

bool ControlRect(HWND dialog, const TemplateItem& item, RECT& rect)
{
    rect = RECT{item.x, item.y, item.x + item.cx, item.y + item.cy};
    return MapDialogRect(dialog, &rect) != FALSE;
}

}  // namespace

void WindowMoves::Move(HWND window, const RECT& rect) noexcept
{
    if (!intact_)
        return;
    HDWP next = DeferWindowPos(batch_, window, nullptr, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, SWP_NOZORDER);
    // Keep the last good handle so that Commit still ends it.
    if (next)
        batch_ = next;
    else
        intact_ = false;
}

bool WindowMoves::Commit() noexcept
{
    if (batch_) {
        if (!EndDeferWindowPos(batch_))
            intact_ = false;
        batch_ = nullptr;
    }
    return intact_;
}

int32_t ApplyTemplateItems(HMODULE resources, HWND dialog, std::span<const std::uint8_t> bytes,
                           WindowMoves& moves)
{
    TemplateHeader header;
    unsigned unnamed = 0;
    ForEachItem(bytes, header, [&](const TemplateItem& item) {
        if (item.id == kUnnamedId)
            ++unnamed;
        // An id without a child is skipped; the other items still move.
        HWND control = GetDlgItem(dialog, item.id);
        if (!control)
            return;
        if (RECT rect; ControlRect(dialog, item, rect))
            moves.Move(control, rect);
        RefreshContent(resources, control, bytes, item);
    });

    if (!moves.Commit()) {
        // The batch was refused or lost: make the same moves one by one.
        ForEachItem(bytes, header, [&](const TemplateItem& item) {
            HWND control = GetDlgItem(dialog, item.id);
            if (RECT rect; control && ControlRect(dialog, item, rect))
                SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        });
    }
    return unnamed < 2 ? 1 : 0;
}

int32_t RelayoutFromBytes(HMODULE resources, HWND dialog, std::span<const std::uint8_t> bytes)
{
    if (reinterpret_cast<std::uintptr_t>(bytes.data()) % alignof(wchar_t) != 0)
        return 0;
    // The whole template is checked before the first move, so that a bad one changes nothing.
    TemplateHeader header;
    if (ValidateTemplate(bytes, header) != TemplateStatus::Ok)
        return 0;
    WindowMoves moves{BeginDeferWindowPos(header.itemCount)};
    return ApplyTemplateItems(resources, dialog, bytes, moves);
}

int32_t RelayoutFromTemplate(HMODULE resources, HWND dialog, int templateId)
{
    const auto bytes = win::LoadDialogTemplate(resources, templateId);
    return bytes.empty() ? 0 : RelayoutFromBytes(resources, dialog, bytes);
}

}  // namespace layout
