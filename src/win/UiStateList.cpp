#include "win/UiStateList.h"

namespace win {

UiStateList::UiStateList(std::initializer_list<UINT> ids)
{
    entries_.reserve(ids.size());
    for (UINT id : ids)
        entries_.push_back({id, 0});
}

UiStateList::Entry* UiStateList::Find(UINT id)
{
    for (auto& e : entries_)
        if (e.id == id)
            return &e;
    return nullptr;
}

const UiStateList::Entry* UiStateList::Find(UINT id) const
{
    return const_cast<UiStateList*>(this)->Find(id);
}

void UiStateList::SetCheck(UINT id, bool checked)
{
    if (Entry* e = Find(id))
        e->state = static_cast<WORD>(checked ? (e->state | kChecked) : (e->state & ~kChecked));
}

bool UiStateList::IsChecked(UINT id) const
{
    const Entry* e = Find(id);
    return e && (e->state & kChecked) != 0;
}

void UiStateList::Apply(HMENU menu) const
{
    if (!menu)
        return;
    for (const auto& e : entries_) {
        const bool disabled = (e.state & kDisabled) != 0;
        const bool checked = (e.state & kChecked) != 0;
        EnableMenuItem(menu, e.id, MF_BYCOMMAND | (disabled ? MF_GRAYED : MF_ENABLED));
        CheckMenuItem(menu, e.id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
        // The state word written last must be the one the list holds: a zero
        // word would wipe the check mark set just above.
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        info.wID = e.id;
        info.fState = (checked ? MFS_CHECKED : MFS_UNCHECKED) | (disabled ? MFS_GRAYED : MFS_ENABLED);
        SetMenuItemInfoW(menu, e.id, FALSE, &info);
    }
}

}  // namespace win
