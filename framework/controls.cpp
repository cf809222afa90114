#include "framework/controls.h"

#include <vector>

std::string window_text(HWND window)
{
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

std::string window_class(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    std::string result = name;
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

bool Combo_box::create(HWND parent, int id, const RECT& rect, DWORD style)
{
    return create_control("COMBOBOX", style, 0, rect, parent, id);
}

void Combo_box::reset() { SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0); }

int Combo_box::add_string(const std::string& text)
{
    LRESULT index = SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int Combo_box::select_string(const std::string& prefix)
{
    // Every entry begins with the empty text; Wine's control finds none, Windows the first.
    if (prefix.empty()) {
        if (count() == 0) return -1;
        set_selection(0);
        return 0;
    }
    LRESULT index = SendMessageA(hwnd(), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(prefix.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int Combo_box::selection() const
{
    LRESULT index = SendMessageA(hwnd(), CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

void Combo_box::set_selection(int index)
{
    SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string Combo_box::item_text(int index) const
{
    LRESULT length = SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

int Combo_box::count() const
{
    LRESULT n = SendMessageA(hwnd(), CB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

void Combo_box::set_font(HFONT font, bool redraw)
{
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

int point_size_to_height(int points)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return height;
}
