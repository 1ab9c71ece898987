// A tool view laid out from its portrait template, or from the landscape
// twin (the next id) while the screen is less than 320 pixels high.
#pragma once

#include "layout/Relayout.h"
#include "views/ToolView.h"

template <class T>
class TemplateView : public ToolView<T> {
public:
    static int TemplateForScreen()
    {
        return shell::ScreenHeight() < 320 ? T::kTemplateId + 1 : T::kTemplateId;
    }

protected:
    // The size the message carries does not matter: the screen decides.
    LRESULT OnSize(int, int)
    {
        RelayoutFromTemplate(this->resources_, this->m_hWnd, TemplateForScreen());
        return 0;
    }
};
