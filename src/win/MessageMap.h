// Message maps: one static table per window class of
// (message, optional command/control id, optional notification code, handler).
// The adapters below unpack wParam/lParam so that each handler's signature
// says what it receives.
#pragma once

#include <windows.h>

#include <climits>
#include <span>

namespace win {

struct Message {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline constexpr int kAnyId = INT_MIN;
inline constexpr int kAnyCode = INT_MIN;

template <class T>
struct MessageMap {
    struct Entry {
        UINT message;
        int id;    // WM_COMMAND: low word of wParam; WM_NOTIFY: idFrom
        int code;  // WM_COMMAND: high word of wParam; WM_NOTIFY: code
        LRESULT (*invoke)(T&, const Message&);
    };

    // LRESULT OnInitDialog(HWND focus, LPARAM initParam)
    template <auto F>
    static constexpr Entry InitDialog()
    {
        return {WM_INITDIALOG, kAnyId, kAnyCode, [](T& t, const Message& m) -> LRESULT {
                    return (t.*F)(reinterpret_cast<HWND>(m.wParam), m.lParam);
                }};
    }

    // LRESULT OnCreate(const CREATESTRUCTW&)
    template <auto F>
    static constexpr Entry Create()
    {
        return {WM_CREATE, kAnyId, kAnyCode, [](T& t, const Message& m) -> LRESULT {
                    return (t.*F)(*reinterpret_cast<const CREATESTRUCTW*>(m.lParam));
                }};
    }

    // LRESULT OnSize(int cx, int cy): both signed 16-bit, as the message packs them.
    template <auto F>
    static constexpr Entry Size()
    {
        return {WM_SIZE, kAnyId, kAnyCode, [](T& t, const Message& m) -> LRESULT {
                    return (t.*F)(static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam)));
                }};
    }

    // LRESULT OnCommand(): a command id, optionally with one notification code.
    template <auto F>
    static constexpr Entry Command(int id, int code = kAnyCode)
    {
        return {WM_COMMAND, id, code, [](T& t, const Message&) -> LRESULT { return (t.*F)(); }};
    }

    // LRESULT OnCommand(int id, int code, HWND control): any command not matched earlier.
    template <auto F>
    static constexpr Entry AnyCommand(int code = kAnyCode)
    {
        return {WM_COMMAND, kAnyId, code, [](T& t, const Message& m) -> LRESULT {
                    return (t.*F)(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HWND>(m.lParam));
                }};
    }

    // LRESULT OnNotify(const NMHDR&): a notification code from any sender.
    template <auto F>
    static constexpr Entry Notify(int code)
    {
        return {WM_NOTIFY, kAnyId, code, [](T& t, const Message& m) -> LRESULT {
                    return (t.*F)(*reinterpret_cast<const NMHDR*>(m.lParam));
                }};
    }

    // LRESULT OnMenuPopup(HMENU)
    template <auto F>
    static constexpr Entry InitMenuPopup()
    {
        return {WM_INITMENUPOPUP, kAnyId, kAnyCode, [](T& t, const Message& m) -> LRESULT {
                    return (t.*F)(reinterpret_cast<HMENU>(m.wParam));
                }};
    }

    // LRESULT OnX(): a message whose parameters the handler does not need.
    template <auto F>
    static constexpr Entry Plain(UINT message)
    {
        return {message, kAnyId, kAnyCode, [](T& t, const Message&) -> LRESULT { return (t.*F)(); }};
    }
};

// True when the entry's id and code filters accept the message.
template <class Entry>
bool Matches(const Entry& e, const Message& m)
{
    if (e.message != m.message)
        return false;
    int id = kAnyId;
    int code = kAnyCode;
    if (m.message == WM_COMMAND) {
        id = LOWORD(m.wParam);
        code = HIWORD(m.wParam);
    } else if (m.message == WM_NOTIFY && m.lParam != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        id = static_cast<int>(header->idFrom);
        code = static_cast<int>(header->code);
    }
    return (e.id == kAnyId || e.id == id) && (e.code == kAnyCode || e.code == code);
}

// Runs the first matching entries of T's table. A handler that clears
// msgHandled lets the message go on to later entries and then to the default.
template <class T>
class MessageDispatcher {
public:
    virtual ~MessageDispatcher() = default;

    virtual bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        const Message m{hwnd, message, wParam, lParam};
        for (const auto& entry : T::GetMessageMap()) {
            if (!Matches(entry, m))
                continue;
            msgHandled = true;
            result = entry.invoke(static_cast<T&>(*this), m);
            if (msgHandled)
                return true;
        }
        return false;
    }

protected:
    bool msgHandled = false;
};

}  // namespace win
