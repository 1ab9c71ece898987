// A tool view laid out from its portrait template, or from the landscape
// twin (the next id) while the screen is in landscape.
#pragma once

#include "layout/Relayout.h"
#include "views/ToolView/ToolView.h"

namespace views {

// Which of a dialog's two templates fits the screen as it stands, whatever
// size the dialog has: the landscape one while the screen is less than 320
// pixels high.
inline int TemplateForScreen(int portraitTemplate, int landscapeTemplate)
{
    return shell::ScreenHeight() < 320 ? landscapeTemplate : portraitTemplate;
}

template <class T>
class TemplateView : public ToolView<T> {
protected:
    LRESULT OnSize(int, int)
    {
        const int portrait = this->portraitTemplate;
        layout::RelayoutFromTemplate(this->resourceModule, this->m_hWnd, TemplateForScreen(portrait, portrait + 1));
        return 0;
    }
};

}  // namespace views
