// A tool page that shows its template's input controls and nothing else.
#pragma once

#include "views/ToolView/TemplateView.h"

namespace views {

template <class T>
class PlaceholderView : public TemplateView<T> {
public:
    using Map = win::MessageMap<T>;

    static std::span<const typename Map::Entry> GetMessageMap()
    {
        static constexpr typename Map::Entry map[] = {
            Map::template InitDialog<&PlaceholderView::OnInitDialog>(),
            Map::template Size<&PlaceholderView::OnSize>(),
            Map::template Command<&PlaceholderView::OnOk>(IDOK),
            Map::template Command<&PlaceholderView::OnCancel>(IDCANCEL),
        };
        return map;
    }

private:
    LRESULT OnInitDialog(HWND, LPARAM)
    {
        this->InitFullScreen();
        return TRUE;
    }
};

}  // namespace views
