// A key combination the whole system hands to one window (RegisterHotKey): its modifiers and
// key, how it reads ("Ctrl+Win+V"), whether it is fit to take from every other program, and its
// place in the registry and in the comctl32 hotkey control.
#pragma once

#include <windows.h>

#include <string>

// RegisterHotKey's modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
constexpr unsigned hotkey_alt = 0x1;
constexpr unsigned hotkey_control = 0x2;
constexpr unsigned hotkey_shift = 0x4;
constexpr unsigned hotkey_win = 0x8;
constexpr unsigned hotkey_modifiers = hotkey_alt | hotkey_control | hotkey_shift | hotkey_win;

struct Hotkey {
    unsigned modifiers = 0;
    // A virtual key; 0 for none.
    unsigned key = 0;

    bool operator==(const Hotkey& other) const
    {
        return modifiers == other.modifiers && key == other.key;
    }
    bool operator!=(const Hotkey& other) const { return !(*this == other); }
};

// "Ctrl+Alt+Shift+Win+" before the key's name ("V", "F5", "Page Down", "Num 7"); the name
// alone of a combination without modifiers; "" for no key and no modifier.
std::string hotkey_text(Hotkey hotkey);

enum class Hotkey_problem {
    none,
    // Neither key nor modifier.
    empty,
    // Modifiers and no key to go with them.
    no_key,
    // A key that typing needs (letters, digits, Enter...) without Ctrl, Alt or Win: taken from
    // every program, it could no longer be typed anywhere. Function keys may stand alone.
    unmodified,
};
Hotkey_problem hotkey_problem(Hotkey hotkey);

bool is_modifier_key(unsigned key);

// One number for the registry: the key in the low byte, the modifiers in the next. A number
// that is no combination (bits beyond those, a modifier key as the key) unpacks to false.
int pack_hotkey(Hotkey hotkey);
bool unpack_hotkey(int packed, Hotkey& hotkey);

// The hotkey control's value (HKM_GETHOTKEY, HKM_SETHOTKEY): the key in the low byte, HOTKEYF_
// flags in the high byte. The control knows no Win key; it comes from beside it.
Hotkey hotkey_from_control(WORD value, bool win);
WORD hotkey_control_value(Hotkey hotkey);

// One combination registered for a window under one id, until released or replaced.
class Global_hotkey {
public:
    Global_hotkey() = default;
    ~Global_hotkey() { release(); }
    Global_hotkey(const Global_hotkey&) = delete;
    Global_hotkey& operator=(const Global_hotkey&) = delete;

    // Releases what was registered, then registers hotkey for window (WM_HOTKEY with id);
    // false with the system's error code (ERROR_HOTKEY_ALREADY_REGISTERED: another program
    // holds it) in error.
    bool set(HWND window, int id, Hotkey hotkey, DWORD& error);
    void release();
    bool registered() const { return window_ != nullptr; }
    Hotkey hotkey() const { return hotkey_; }

private:
    HWND window_ = nullptr;
    int id_ = 0;
    Hotkey hotkey_;
};
