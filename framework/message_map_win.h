// Message maps.
//
// A window class lists the messages and commands it handles in one static
// table, its message map, read top to bottom:
//
//     bool CMyDialog::RouteMessage(Message& message) {
//         using Map = MessageMap<CMyDialog>;
//         static const Map map = {
//             Map::OnCommand(IDC_BROWSE, &CMyDialog::OnBrowse),
//             Map::OnCommands({IDC_FIRST, IDC_SECOND}, &CMyDialog::OnSwitch),
//             Map::OnTimer(&CMyDialog::OnTimer),
//         };
//         return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
//     }
//
// Each entry names what it matches (a message, or a command or notification
// with its control ids and code) and a member function with typed arguments;
// the factories below unpack WPARAM and LPARAM. An entry for several
// controls tells its handler which one it was. A handler that only watches
// a message (a timer tick, the destroy message) lets it go on to the
// default handling afterwards; one that answers it ends it there.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <vector>

#include "framework/window_win.h"

namespace corv {

template <class T>
class MessageMap {
public:
    // Runs the handler for `message` on `target`. True when the handler
    // answered it (then `message.result` holds the answer); false when no
    // entry matched or the handler let it go on to the default handling.
    using Handler = std::function<bool(T&, Message&)>;

    struct Entry {
        UINT message;
        std::vector<UINT> ids;  // WM_COMMAND, WM_NOTIFY: the command or control ids
        UINT code;              // WM_COMMAND, WM_NOTIFY: the notification code
        bool menuOrClick;       // WM_COMMAND: a menu command, accelerator or click
        Handler handler;
    };

    MessageMap(std::initializer_list<Entry> entries) : entries_(entries) {}

    bool Dispatch(T& target, Message& message) const {
        for (const Entry& entry : entries_)
            if (Matches(entry, message)) return entry.handler(target, message);
        return false;
    }

    // --- commands and notifications -------------------------------------

    // A menu command, an accelerator or a button click with this id.
    static Entry OnCommand(UINT id, void (T::*method)()) {
        return {WM_COMMAND, {id}, 0, true, [method](T& self, Message&) {
                    (self.*method)();
                    return true;
                }};
    }
    // The same for any of `ids`; the handler is given the id.
    static Entry OnCommands(std::initializer_list<UINT> ids, void (T::*method)(int id)) {
        return {WM_COMMAND, ids, 0, true, [method](T& self, Message& m) {
                    (self.*method)(LOWORD(m.wParam));
                    return true;
                }};
    }
    // A notification sent through WM_COMMAND (EN_CHANGE, CBN_SELCHANGE...).
    static Entry OnControl(UINT id, UINT code, void (T::*method)()) {
        return {WM_COMMAND, {id}, code, false, [method](T& self, Message&) {
                    (self.*method)();
                    return true;
                }};
    }
    // The same for any of `ids`; the handler is given the id.
    static Entry OnControls(std::initializer_list<UINT> ids, UINT code, void (T::*method)(int id)) {
        return {WM_COMMAND, ids, code, false, [method](T& self, Message& m) {
                    (self.*method)(LOWORD(m.wParam));
                    return true;
                }};
    }
    // A WM_NOTIFY notification; the handler's result is the answer.
    static Entry OnNotify(UINT id, UINT code, LRESULT (T::*method)(NMHDR&)) {
        return {WM_NOTIFY, {id}, code, false, [method](T& self, Message& m) {
                    m.result = (self.*method)(*reinterpret_cast<NMHDR*>(m.lParam));
                    return true;
                }};
    }

    // --- window messages ------------------------------------------------

    // Any message, for private messages: the handler's result is the answer.
    static Entry OnMessage(UINT message, LRESULT (T::*method)(WPARAM, LPARAM)) {
        return {message, {}, 0, false, [method](T& self, Message& m) {
                    m.result = (self.*method)(m.wParam, m.lParam);
                    return true;
                }};
    }
    // Timer ticks; the default handling follows.
    static Entry OnTimer(void (T::*method)(UINT_PTR timerId)) {
        return Watch(WM_TIMER, [method](T& self, Message& m) { (self.*method)(m.wParam); });
    }
    // The window is being destroyed; the default handling follows.
    static Entry OnDestroy(void (T::*method)()) {
        return Watch(WM_DESTROY, [method](T& self, Message&) { (self.*method)(); });
    }
    // A change of position, size or visibility is on its way; the handler
    // may change the record, then the default handling follows.
    static Entry OnWindowPosChanging(void (T::*method)(WINDOWPOS& position)) {
        return Watch(WM_WINDOWPOSCHANGING, [method](T& self, Message& m) {
            (self.*method)(*reinterpret_cast<WINDOWPOS*>(m.lParam));
        });
    }
    // A system-menu command; false hands it to the default handling.
    static Entry OnSysCommand(bool (T::*method)(UINT command)) {
        return {WM_SYSCOMMAND, {}, 0, false, [method](T& self, Message& m) {
                    return (self.*method)(static_cast<UINT>(m.wParam));
                }};
    }
    // Painting; false hands it to the default handling.
    static Entry OnPaint(bool (T::*method)()) {
        return {WM_PAINT, {}, 0, false, [method](T& self, Message&) { return (self.*method)(); }};
    }
    // The session is about to end; answer true to let it end.
    static Entry OnQueryEndSession(bool (T::*method)()) {
        return {WM_QUERYENDSESSION, {}, 0, false, [method](T& self, Message& m) {
                    m.result = (self.*method)() ? TRUE : FALSE;
                    return true;
                }};
    }
    static Entry OnClose(void (T::*method)()) {
        return {WM_CLOSE, {}, 0, false, [method](T& self, Message&) {
                    (self.*method)();
                    return true;
                }};
    }
    static Entry OnDrawItem(void (T::*method)(UINT id, DRAWITEMSTRUCT& item)) {
        return {WM_DRAWITEM, {}, 0, false, [method](T& self, Message& m) {
                    (self.*method)(static_cast<UINT>(m.wParam),
                                   *reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam));
                    m.result = TRUE;
                    return true;
                }};
    }
    static Entry OnMeasureItem(void (T::*method)(UINT id, MEASUREITEMSTRUCT& item)) {
        return {WM_MEASUREITEM, {}, 0, false, [method](T& self, Message& m) {
                    (self.*method)(static_cast<UINT>(m.wParam),
                                   *reinterpret_cast<MEASUREITEMSTRUCT*>(m.lParam));
                    m.result = TRUE;
                    return true;
                }};
    }
    // The cursor over the window; false hands it to the default handling.
    static Entry OnSetCursor(bool (T::*method)(HWND under, UINT hitTest, UINT mouseMessage)) {
        return {WM_SETCURSOR, {}, 0, false, [method](T& self, Message& m) {
                    bool handled = (self.*method)(reinterpret_cast<HWND>(m.wParam),
                                                  LOWORD(m.lParam), HIWORD(m.lParam));
                    m.result = handled ? TRUE : FALSE;
                    return handled;
                }};
    }

    // The window is being sized by its frame: `edge` is the WMSZ_ value; the
    // handler may change the rectangle.
    static Entry OnSizing(void (T::*method)(UINT edge, RECT& rect)) {
        return {WM_SIZING, {}, 0, false, [method](T& self, Message& m) {
                    (self.*method)(static_cast<UINT>(m.wParam), *reinterpret_cast<RECT*>(m.lParam));
                    m.result = TRUE;
                    return true;
                }};
    }
    // The sizes the window may take; the handler changes the record.
    static Entry OnGetMinMaxInfo(void (T::*method)(MINMAXINFO& info)) {
        return {WM_GETMINMAXINFO, {}, 0, false, [method](T& self, Message& m) {
                    (self.*method)(*reinterpret_cast<MINMAXINFO*>(m.lParam));
                    return true;
                }};
    }
    // The wheel turned by `delta` (WHEEL_DELTA a notch) with `keys` down at
    // the screen point `at`; false hands it on.
    static Entry OnMouseWheel(bool (T::*method)(int delta, UINT keys, POINT at)) {
        return {WM_MOUSEWHEEL, {}, 0, false, [method](T& self, Message& m) {
                    const POINT at{static_cast<short>(LOWORD(m.lParam)),
                                   static_cast<short>(HIWORD(m.lParam))};
                    return (self.*method)(static_cast<short>(HIWORD(m.wParam)), LOWORD(m.wParam),
                                          at);
                }};
    }
    // The keyboard focus came (from `other`, may be null); default follows.
    static Entry OnSetFocus(void (T::*method)(HWND other)) {
        return Watch(WM_SETFOCUS, [method](T& self, Message& m) {
            (self.*method)(reinterpret_cast<HWND>(m.wParam));
        });
    }
    // The keyboard focus goes (to `other`, may be null); default follows.
    static Entry OnKillFocus(void (T::*method)(HWND other)) {
        return Watch(WM_KILLFOCUS, [method](T& self, Message& m) {
            (self.*method)(reinterpret_cast<HWND>(m.wParam));
        });
    }
    // A context menu is asked for over `window` at the screen point `at`
    // (-1, -1 from the keyboard); false hands it on.
    static Entry OnContextMenu(bool (T::*method)(HWND window, POINT at)) {
        return {WM_CONTEXTMENU, {}, 0, false, [method](T& self, Message& m) {
                    const POINT at{static_cast<short>(LOWORD(m.lParam)),
                                   static_cast<short>(HIWORD(m.lParam))};
                    return (self.*method)(reinterpret_cast<HWND>(m.wParam), at);
                }};
    }
    // The left button went down at `at` (client coordinates).
    static Entry OnLButtonDown(void (T::*method)(UINT keys, POINT at)) {
        return {WM_LBUTTONDOWN, {}, 0, false, [method](T& self, Message& m) {
                    const POINT at{static_cast<short>(LOWORD(m.lParam)),
                                   static_cast<short>(HIWORD(m.lParam))};
                    (self.*method)(static_cast<UINT>(m.wParam), at);
                    return true;
                }};
    }

private:
    // An entry whose handler watches a message and lets it go on.
    template <class F>
    static Entry Watch(UINT message, F watch) {
        return {message, {}, 0, false, [watch](T& self, Message& m) {
                    watch(self, m);
                    return false;
                }};
    }

    static bool HasId(const Entry& entry, UINT id) {
        return std::find(entry.ids.begin(), entry.ids.end(), id) != entry.ids.end();
    }

    static bool Matches(const Entry& entry, const Message& m) {
        if (entry.message != m.id) return false;
        if (m.id == WM_COMMAND) {
            if (!HasId(entry, LOWORD(m.wParam))) return false;
            const UINT code = HIWORD(m.wParam);
            if (!entry.menuOrClick) return code == entry.code;
            // Menus and clicks send code 0; accelerators code 1 without a control.
            return code == 0 || (code == 1 && m.lParam == 0);
        }
        if (m.id == WM_NOTIFY) {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
            return header != nullptr && HasId(entry, static_cast<UINT>(header->idFrom)) &&
                   header->code == entry.code;
        }
        return true;
    }

    std::vector<Entry> entries_;
};

}  // namespace corv
