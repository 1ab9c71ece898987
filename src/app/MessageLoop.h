// The message loop of a user-interface thread, with message filters (offered
// every message, last registered first) and idle handlers.
#pragma once

#include <windows.h>

#include <vector>

namespace app {

class MessageFilter {
public:
    virtual ~MessageFilter() = default;
    virtual bool PreTranslateMessage(MSG& msg) = 0;
};

class IdleHandler {
public:
    virtual ~IdleHandler() = default;
    virtual bool OnIdle() = 0;
};

class MessageLoop {
public:
    bool AddMessageFilter(MessageFilter* filter);
    bool AddIdleHandler(IdleHandler* handler);

    // Runs until WM_QUIT and returns its wParam.
    int Run();

    // Idle processing resumes after any message but these frequent ones.
    static bool IsIdleMessage(const MSG& msg);

private:
    bool PreTranslate(MSG& msg);
    void RunIdleHandlers();

    std::vector<MessageFilter*> filters_;
    std::vector<IdleHandler*> idleHandlers_;
};

}  // namespace app
