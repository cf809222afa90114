#include "framework/controls.h"

#include <vector>

#include "framework/strings.h"

std::string window_text(HWND window)
{
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, buffer.data(), length + 1);
    return to_utf8(std::wstring(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0));
}

void set_window_text(HWND window, const std::string& text)
{
    SetWindowTextW(window, widen(text).c_str());
}

std::string window_class(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    std::string result = to_utf8(name);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

bool Combo_box::create(HWND parent, int id, const RECT& rect, DWORD style)
{
    return create_control("COMBOBOX", style, 0, rect, parent, id);
}

void Combo_box::reset() { SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0); }

int Combo_box::add_string(const std::string& text)
{
    LRESULT index = SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
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
    LRESULT index = SendMessageW(hwnd(), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(widen(prefix).c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int Combo_box::selection() const
{
    LRESULT index = SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

void Combo_box::set_selection(int index)
{
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string Combo_box::item_text(int index) const
{
    LRESULT length = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(buffer.data()));
    return to_utf8(buffer.data());
}

int Combo_box::count() const
{
    LRESULT n = SendMessageW(hwnd(), CB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

void Combo_box::set_font(HFONT font, bool redraw)
{
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

int point_size_to_height(int points)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return height;
}
