#include "app/MessageLoop.h"

namespace app {

bool MessageLoop::AddMessageFilter(MessageFilter* filter)
{
    if (!filter)
        return false;
    filters_.push_back(filter);
    return true;
}

bool MessageLoop::AddIdleHandler(IdleHandler* handler)
{
    if (!handler)
        return false;
    idleHandlers_.push_back(handler);
    return true;
}

bool MessageLoop::IsIdleMessage(const MSG& msg)
{
    return msg.message != WM_MOUSEMOVE && msg.message != WM_PAINT && msg.message != 0x0118 /* system timer */;
}

bool MessageLoop::PreTranslate(MSG& msg)
{
    for (auto it = filters_.rbegin(); it != filters_.rend(); ++it)
        if ((*it)->PreTranslateMessage(msg))
            return true;
    return false;
}

void MessageLoop::RunIdleHandlers()
{
    for (IdleHandler* handler : idleHandlers_)
        handler->OnIdle();
}

int MessageLoop::Run()
{
    bool idle = true;
    MSG msg{};
    for (;;) {
        if (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleHandlers();
            idle = false;
        }
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg))
            idle = true;
    }
}

}  // namespace app
