// What every tool view shares: creation from its template as a hidden child
// of the frame, full-screen initialisation, and ending on OK or Cancel.
#pragma once

#include "shell/Shell.h"
#include "win/Window.h"

template <class T>
class ToolView : public win::CDialogImpl<T> {
public:
    // Modeless, with the frame as parent; null when the template is missing.
    HWND CreateView(HMODULE resources, HWND parent)
    {
        resources_ = resources;
        return this->Create(resources, T::kTemplateId, parent);
    }

    // Modal, owned by `owner`: the value given to EndDialog, or -1 when the
    // view cannot run.
    INT_PTR RunModal(HMODULE resources, HWND owner)
    {
        resources_ = resources;
        return this->RunModalFromTemplate(resources, T::kTemplateId, owner);
    }

    HMODULE Resources() const { return resources_; }

protected:
    void InitFullScreen()
    {
        shell::SHINITDLGINFO info{shell::SHIDIM_FLAGS, this->m_hWnd, shell::SHIDIF_SIZEDLGFULLSCREEN};
        shell::SHInitDialog(&info);
    }

    LRESULT OnOk()
    {
        EndDialog(this->m_hWnd, IDOK);
        return 0;
    }

    LRESULT OnCancel()
    {
        EndDialog(this->m_hWnd, IDCANCEL);
        return 0;
    }

    HMODULE resources_ = nullptr;
};
