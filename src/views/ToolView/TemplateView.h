// A tool view laid out from its portrait template, or from the landscape
// twin (the next id) while the screen is less than 320 pixels high.
#pragma once

#include "layout/Relayout.h"
#include "views/ToolView/ToolView.h"

namespace views {

// The template for the screen as it stands, whatever size the view has.
inline int TemplateForScreen(int portraitTemplate)
{
    return shell::ScreenHeight() < 320 ? portraitTemplate + 1 : portraitTemplate;
}

template <class T>
class TemplateView : public ToolView<T> {
protected:
    LRESULT OnSize(int, int)
    {
        layout::RelayoutFromTemplate(this->resources_, this->m_hWnd, TemplateForScreen(this->templateId_));
        return 0;
    }
};

}  // namespace views
