// What every tool view shares: creation from its template as a hidden child
// of the frame and full-screen initialisation (OK and Cancel end it through
// the dialog base's handlers).
#pragma once

#include "shell/Shell.h"
#include "win/Window.h"

namespace views {

// What the frame asks of each of its views.
class View {
public:
    virtual ~View() = default;

    // Modeless, from the resource library's template, with the frame as
    // parent; null when the template is missing or the dialog cannot be made.
    virtual HWND CreateView(HMODULE resources, int templateId, HWND parent) = 0;

    // Reads the platform again. The views without data have nothing to read.
    virtual LRESULT Refresh() { return 0; }
};

template <class T>
class ToolView : public win::CDialogImpl<T>, public View {
public:
    HWND CreateView(HMODULE resources, int templateId, HWND parent) override
    {
        resourceModule = resources;
        portraitTemplate = templateId;
        return this->Create(resources, templateId, parent);
    }

protected:
    void InitFullScreen()
    {
        shell::SHINITDLGINFO info{shell::SHIDIM_FLAGS, this->m_hWnd, shell::SHIDIF_SIZEDLGFULLSCREEN};
        shell::SHInitDialog(&info);
    }

    HMODULE resourceModule = nullptr;
    int portraitTemplate = 0;  // the one the view was created from
};

}  // namespace views
