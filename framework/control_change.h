// ControlChange: what a decision does to one control of a dialog. Portable
// decisions (a settings page's, tested natively) return them in the order
// they happen, and the dialog applies them with CDialog::ApplyChanges.
//
// This header is the framework's one portable file: it includes no Windows
// header, so the portable decisions may use it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace corv {

struct ControlChange {
    enum class Kind {
        Enable,  // enabled (on) or disabled
        Check,   // ticked (on) or cleared
        Text,    // the control's text becomes `text`
        Focus,   // the keyboard focus goes to the control
        Flags,   // the control's own `flags` turned on or off (a bound
                 // control says what they mean; a label: bold, italic...)
    };

    int id = 0;
    bool on = false;
    Kind kind = Kind::Enable;
    std::string text;  // UTF-8
    uint32_t flags = 0;

    static ControlChange Enable(int id, bool on) { return {id, on, Kind::Enable, {}, 0}; }
    static ControlChange Check(int id, bool on) { return {id, on, Kind::Check, {}, 0}; }
    static ControlChange Text(int id, std::string text) {
        return {id, false, Kind::Text, std::move(text), 0};
    }
    static ControlChange Focus(int id) { return {id, false, Kind::Focus, {}, 0}; }
    static ControlChange Flags(int id, uint32_t flags, bool on) {
        return {id, on, Kind::Flags, {}, flags};
    }
};

inline bool operator==(const ControlChange& a, const ControlChange& b) {
    return a.id == b.id && a.on == b.on && a.kind == b.kind && a.text == b.text &&
           a.flags == b.flags;
}

}  // namespace corv
