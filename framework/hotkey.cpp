#include "framework/hotkey.h"

#include <commctrl.h>

#include "framework/strings.h"

static_assert(hotkey_alt == MOD_ALT && hotkey_control == MOD_CONTROL && hotkey_shift == MOD_SHIFT &&
              hotkey_win == MOD_WIN);

namespace {

struct Key_name {
    unsigned key;
    const char* name;
};
// Named as keyboards label them; the rest are letters, digits, function keys or the character
// the key types in the current layout.
const Key_name key_names[] = {
    {VK_SPACE, "Space"},         {VK_TAB, "Tab"},           {VK_RETURN, "Enter"},
    {VK_ESCAPE, "Esc"},          {VK_BACK, "Backspace"},    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},       {VK_HOME, "Home"},         {VK_END, "End"},
    {VK_PRIOR, "Page Up"},       {VK_NEXT, "Page Down"},    {VK_LEFT, "Left"},
    {VK_RIGHT, "Right"},         {VK_UP, "Up"},             {VK_DOWN, "Down"},
    {VK_PAUSE, "Pause"},         {VK_SNAPSHOT, "Print Screen"}, {VK_SCROLL, "Scroll Lock"},
    {VK_NUMLOCK, "Num Lock"},    {VK_CAPITAL, "Caps Lock"}, {VK_APPS, "Menu"},
    {VK_MULTIPLY, "Num *"},      {VK_ADD, "Num +"},         {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num ."},       {VK_DIVIDE, "Num /"},
};

bool is_function_key(unsigned key) { return key >= VK_F1 && key <= VK_F24; }

// Keys that type nothing, so that taking them alone from every program costs no typing.
bool types_nothing(unsigned key)
{
    return is_function_key(key) || key == VK_PAUSE || key == VK_SCROLL ||
           (key >= VK_BROWSER_BACK && key <= VK_LAUNCH_APP2);
}

// Keys whose scan code carries the extended bit: the hotkey control names them by it
// ("Page Down", not "Num 3").
bool is_extended_key(unsigned key)
{
    switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_LEFT: case VK_UP:
    case VK_RIGHT: case VK_DOWN: case VK_INSERT: case VK_DELETE: case VK_DIVIDE:
    case VK_NUMLOCK: case VK_SNAPSHOT: case VK_APPS:
        return true;
    }
    return false;
}

std::string key_name(unsigned key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (is_function_key(key)) return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::to_string(key - VK_NUMPAD0);
    for (const Key_name& named : key_names)
        if (named.key == key) return named.name;
    // Punctuation keys differ between layouts: the character this one types here.
    const UINT character = MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0x7FFF;
    if (character > L' ') return to_utf8(std::wstring(1, static_cast<wchar_t>(character)));
    wchar_t name[64] = L"";
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const LONG code = static_cast<LONG>((scan << 16) | (is_extended_key(key) ? 1u << 24 : 0u));
    if (scan && GetKeyNameTextW(code, name, 64) > 0) return to_utf8(name);
    const char* digits = "0123456789ABCDEF";
    return std::string("Key ") + digits[(key >> 4) & 0xF] + digits[key & 0xF];
}

}  // namespace

bool is_modifier_key(unsigned key)
{
    switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LSHIFT: case VK_RSHIFT:
    case VK_LCONTROL: case VK_RCONTROL: case VK_LMENU: case VK_RMENU: case VK_LWIN: case VK_RWIN:
        return true;
    }
    return false;
}

std::string hotkey_text(Hotkey hotkey)
{
    std::string text;
    if (hotkey.modifiers & hotkey_control) text += "Ctrl+";
    if (hotkey.modifiers & hotkey_alt) text += "Alt+";
    if (hotkey.modifiers & hotkey_shift) text += "Shift+";
    if (hotkey.modifiers & hotkey_win) text += "Win+";
    if (hotkey.key) return text + key_name(hotkey.key);
    if (!text.empty()) text.pop_back();
    return text;
}

Hotkey_problem hotkey_problem(Hotkey hotkey)
{
    if (!hotkey.key || is_modifier_key(hotkey.key))
        return hotkey.modifiers & hotkey_modifiers ? Hotkey_problem::no_key : Hotkey_problem::empty;
    if (!(hotkey.modifiers & (hotkey_control | hotkey_alt | hotkey_win)) && !types_nothing(hotkey.key))
        return Hotkey_problem::unmodified;
    return Hotkey_problem::none;
}

int pack_hotkey(Hotkey hotkey)
{
    return static_cast<int>((hotkey.key & 0xFF) | ((hotkey.modifiers & hotkey_modifiers) << 8));
}

bool unpack_hotkey(int packed, Hotkey& hotkey)
{
    if (packed < 0 || packed > 0xFFF) return false;
    const Hotkey unpacked{static_cast<unsigned>(packed) >> 8, static_cast<unsigned>(packed) & 0xFF};
    if (is_modifier_key(unpacked.key)) return false;
    hotkey = unpacked;
    return true;
}

Hotkey hotkey_from_control(WORD value, bool win)
{
    const unsigned flags = HIBYTE(value);
    Hotkey hotkey{0, LOBYTE(value)};
    if (flags & HOTKEYF_CONTROL) hotkey.modifiers |= hotkey_control;
    if (flags & HOTKEYF_ALT) hotkey.modifiers |= hotkey_alt;
    if (flags & HOTKEYF_SHIFT) hotkey.modifiers |= hotkey_shift;
    if (win) hotkey.modifiers |= hotkey_win;
    return hotkey;
}

WORD hotkey_control_value(Hotkey hotkey)
{
    unsigned flags = 0;
    if (hotkey.modifiers & hotkey_control) flags |= HOTKEYF_CONTROL;
    if (hotkey.modifiers & hotkey_alt) flags |= HOTKEYF_ALT;
    if (hotkey.modifiers & hotkey_shift) flags |= HOTKEYF_SHIFT;
    if (is_extended_key(hotkey.key)) flags |= HOTKEYF_EXT;
    return MAKEWORD(hotkey.key & 0xFF, flags);
}

bool Global_hotkey::set(HWND window, int id, Hotkey hotkey, DWORD& error)
{
    release();
    // Held down, the key would start a run at every repeat.
    if (!RegisterHotKey(window, id, hotkey.modifiers | MOD_NOREPEAT, hotkey.key)) {
        error = GetLastError();
        return false;
    }
    window_ = window;
    id_ = id;
    hotkey_ = hotkey;
    error = 0;
    return true;
}

void Global_hotkey::release()
{
    if (!window_) return;
    UnregisterHotKey(window_, id_);
    window_ = nullptr;
}
