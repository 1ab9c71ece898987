// Check and disable states of popup menu items, kept by the window and put
// on the menu each time a popup opens.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace win {

class UiStateList {
public:
    static constexpr WORD kDisabled = 0x0100;
    static constexpr WORD kChecked = 0x0200;

    struct Entry {
        UINT id;
        WORD state;
    };

    explicit UiStateList(std::initializer_list<UINT> ids);

    // Ids outside the list are ignored.
    void SetCheck(UINT id, bool checked);
    bool IsChecked(UINT id) const;

    // Applies every entry, in list order, to the popup that is opening.
    void Apply(HMENU menu) const;

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    Entry* Find(UINT id);
    const Entry* Find(UINT id) const;

    std::vector<Entry> entries_;
};

}  // namespace win
