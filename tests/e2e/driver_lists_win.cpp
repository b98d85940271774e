// The driver's commands for the lists of the program's windows (list views
// and drop-down lists, read through memory in the program's process where a
// message passes a pointer) and for the slot editor's slot windows.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "driver_win.h"

namespace e2e {

namespace {

// The program's visible layered windows (the slot editor's slots), by
// left, then top.
std::vector<HWND> SlotWindows() {
    std::vector<HWND> slots;
    for (HWND window : ProgramWindows())
        if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) slots.push_back(window);
    std::sort(slots.begin(), slots.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    });
    return slots;
}

void MouseTo(int x, int y, DWORD buttons) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
    Sleep(60);  // input pacing, so the sizing loop sees every step
}

// Drags the right or bottom edge of `window` by `pixels`, in steps.
int DragEdge(HWND window, const std::string& edge, int pixels) {
    RECT r{};
    if (window == nullptr || !GetWindowRect(window, &r)) return 1;
    const bool right = edge == "right";
    if (!right && edge != "bottom") return 2;
    int x = right ? r.right - 2 : (r.left + r.right) / 2;
    int y = right ? (r.top + r.bottom) / 2 : r.bottom - 2;
    SetForegroundWindow(window);
    MouseTo(x, y, 0);
    MouseTo(x, y, MOUSEEVENTF_LEFTDOWN);
    const int steps = 5;
    for (int i = 1; i <= steps; ++i)
        MouseTo(right ? x + pixels * i / steps : x, right ? y : y + pixels * i / steps, 0);
    MouseTo(right ? x + pixels : x, right ? y : y + pixels, MOUSEEVENTF_LEFTUP);
    return 0;
}

// Memory in the process of a list view, for the list messages that read or
// write through a pointer.
class RemoteMemory {
public:
    RemoteMemory(HWND window, SIZE_T size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
        if (process_ != nullptr)
            at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Ok() const { return at_ != nullptr; }
    char* At() const { return static_cast<char*>(at_); }
    bool Write(const void* data, SIZE_T size, SIZE_T offset = 0) {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, At() + offset, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, SIZE_T size, SIZE_T offset = 0) {
        return offset + size <= size_ &&
               ReadProcessMemory(process_, At() + offset, data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
    SIZE_T size_;
};

int PrintListItems(HWND list) {
    constexpr int kChars = 260;
    RemoteMemory remote(list, sizeof(LVITEMW) + sizeof(POINT) + kChars * sizeof(wchar_t));
    if (!remote.Ok()) return 1;
    const SIZE_T pointAt = sizeof(LVITEMW);
    const SIZE_T textAt = pointAt + sizeof(POINT);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.pszText = reinterpret_cast<wchar_t*>(remote.At() + textAt);
        item.cchTextMax = kChars;
        wchar_t text[kChars] = {};
        POINT at{};
        if (!remote.Write(&item, sizeof item) ||
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(remote.At())) < 0 ||
            !remote.Read(text, sizeof text - sizeof(wchar_t), textAt) ||
            !SendMessageW(list, LVM_GETITEMPOSITION, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(remote.At() + pointAt)) ||
            !remote.Read(&at, sizeof at, pointAt))
            return 1;
        std::printf("%s|%ld,%ld\n", Utf8(text).c_str(), at.x, at.y);
    }
    return 0;
}

int ClickListItem(HWND list, int index, bool twice) {
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    RemoteMemory remote(list, sizeof(RECT));
    RECT box{};
    box.left = LVIR_ICON;
    if (!remote.Ok() || !remote.Write(&box, sizeof box) ||
        !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(remote.At())) ||
        !remote.Read(&box, sizeof box))
        return 1;
    const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const UINT sequence[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    for (int i = 0; i < (twice ? 4 : 2); ++i)
        PostMessageW(list, sequence[i], sequence[i] == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    return 0;
}

// The text of one cell of a list view of another process, through memory
// in that process (`block`, an LVITEMW and room for the text).
bool ListCellText(HWND list, RemoteMemory& block, int row, int column, std::string& text) {
    const size_t textChars = 512;
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(textChars);
    item.pszText = reinterpret_cast<wchar_t*>(block.At() + sizeof(LVITEMW));
    std::vector<wchar_t> chars(textChars, L'\0');
    if (!block.Write(&item, sizeof item)) return false;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(block.At()));
    if (!block.Read(chars.data(), textChars * sizeof(wchar_t), sizeof(LVITEMW))) return false;
    chars.back() = L'\0';
    text = Utf8(chars.data());
    return true;
}

int ListRows(HWND list) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteMemory block(list, sizeof(LVITEMW) + 512 * sizeof(wchar_t));
    if (!block.Ok()) return 1;
    for (int row = 0; row < count; ++row) {
        std::string text;
        if (!ListCellText(list, block, row, 1, text)) return 1;
        const UINT state = static_cast<UINT>(
            SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
        std::printf("%d|%s\n", ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0, text.c_str());
    }
    return 0;
}

// Every row of a two-column list view: "COLUMN 1|COLUMN 2".
int ListCells(HWND list) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteMemory block(list, sizeof(LVITEMW) + 512 * sizeof(wchar_t));
    if (!block.Ok()) return 1;
    for (int row = 0; row < count; ++row) {
        std::string first, second;
        if (!ListCellText(list, block, row, 0, first) || !ListCellText(list, block, row, 1, second))
            return 1;
        std::printf("%s|%s\n", first.c_str(), second.c_str());
    }
    return 0;
}

int CheckListRow(HWND list, int row) {
    RemoteMemory block(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    if (!block.Ok() || !block.Write(&item, sizeof item)) return 1;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(block.At()));
    return 0;
}

int ComboItems(HWND combo, bool selectedOnly) {
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (selectedOnly && i != selected) continue;
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0 || length > 1000) continue;
        std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        std::printf("%s\n", Utf8(text.data()).c_str());
    }
    return 0;
}

// The N-th slot window (Int(0), from 1), or null.
HWND Slot(const Call& call) {
    const std::vector<HWND> slots = SlotWindows();
    const int n = call.Int(0);
    if (n < 1 || n > static_cast<int>(slots.size())) return nullptr;
    return slots[static_cast<std::size_t>(n - 1)];
}

int SlotContextMenu(HWND slot) {
    if (slot == nullptr) return 1;
    RECT r{};
    GetWindowRect(slot, &r);
    return PostMessageW(slot, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(slot),
                        MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2))
               ? 0
               : 1;
}

}  // namespace

Commands ListCommands() {
    const Needs any = Needs::Nothing, page = Needs::PageControl, control = Needs::WindowControl;
    return {
        {"page-rows", "TITLE ID", "the number of rows of list view ID of the page on show", page,
         [](const Call& c) {
             std::printf("%d\n", static_cast<int>(SendMessageW(c.control, LVM_GETITEMCOUNT, 0, 0)));
             return 0;
         }},
        {"page-cells", "TITLE ID", "its rows' texts: \"COLUMN 1|COLUMN 2\"", page,
         [](const Call& c) { return ListCells(c.control); }},
        {"page-items", "TITLE ID", "the items of drop-down list ID of the page on show, one a line",
         page, [](const Call& c) { return ComboItems(c.control, false); }},
        {"page-selected", "TITLE ID", "its selected item", page,
         [](const Call& c) { return ComboItems(c.control, true); }},
        {"list-items", "TITLE ID",
         "the items of list view ID of window TITLE: \"TEXT|X,Y\" (its position)", control,
         [](const Call& c) { return PrintListItems(c.control); }},
        {"list-click", "TITLE ID INDEX [double]",
         "a click (or a double-click) of the left button on the icon of item INDEX", control,
         [](const Call& c) {
             return ClickListItem(c.control, c.Int(2),
                                  c.Has(3) && std::strcmp(c.Text(3), "double") == 0);
         }},
        {"list-rows", "TITLE ID", "its rows: \"CHECKED|TEXT OF COLUMN 1\"", control,
         [](const Call& c) { return ListRows(c.control); }},
        {"list-check", "TITLE ID ROW", "check row ROW of that list view", control,
         [](const Call& c) { return CheckListRow(c.control, c.Int(2)); }},
        {"slot-windows", "",
         "the program's half-transparent (layered) windows, \"L T R B\" each, by left, then top",
         any,
         [](const Call&) {
             for (HWND window : SlotWindows()) PrintRect(window);
             return 0;
         }},
        {"slot-context", "N", "the context menu of the N-th of them", any,
         [](const Call& c) { return SlotContextMenu(Slot(c)); }},
        {"slot-drag", "N EDGE PIXELS",
         "drag its right or bottom edge (EDGE right|bottom) by PIXELS with the mouse", any,
         [](const Call& c) {
             HWND slot = Slot(c);
             return slot != nullptr ? DragEdge(slot, c.Text(1), c.Int(2)) : 1;
         }},
    };
}

}  // namespace e2e
