#include "framework/edit_view.h"

#include "framework/controls.h"
#include "framework/strings.h"

bool Edit_view::create_view(HWND parent, int id)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL |
                  ES_AUTOVSCROLL | ES_MULTILINE | ES_NOHIDESEL;
    DWORD ex_style = WS_EX_CLIENTEDGE;
    adjust_style(style, ex_style);
    return create_control("EDIT", style, ex_style, RECT{0, 0, 0, 0}, parent, id);
}

std::string Edit_view::text() const { return window_text(hwnd()); }

void Edit_view::set_text(const std::string& text) { set_window_text(hwnd(), text); }

std::string Edit_view::text_range(int start, int end) const
{
    const std::wstring whole = widen(text());
    const std::size_t size = whole.size();
    const std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    const std::size_t to = end < 0 ? size : static_cast<std::size_t>(end);
    if (from >= size || to <= from) return std::string();
    return to_utf8(whole.substr(from, to - from));
}

int Edit_view::text_length() const { return GetWindowTextLengthW(hwnd()); }

void Edit_view::selection(int& start, int& end) const
{
    DWORD s = 0, e = 0;
    SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void Edit_view::set_selection(int start, int end)
{
    SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Edit_view::scroll_caret() { SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0); }

void Edit_view::replace_selection(const std::string& text, bool can_undo)
{
    SendMessageW(hwnd(), EM_REPLACESEL, can_undo ? TRUE : FALSE,
                 reinterpret_cast<LPARAM>(widen(text).c_str()));
}

int Edit_view::line_count() const
{
    return static_cast<int>(SendMessageW(hwnd(), EM_GETLINECOUNT, 0, 0));
}

int Edit_view::line_length(int position) const
{
    return static_cast<int>(SendMessageW(hwnd(), EM_LINELENGTH, static_cast<WPARAM>(position), 0));
}

void Edit_view::set_limit(int characters)
{
    SendMessageW(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(characters), 0);
}

int Edit_view::limit() const
{
    return static_cast<int>(SendMessageW(hwnd(), EM_GETLIMITTEXT, 0, 0));
}

void Edit_view::set_tab_stops(int width)
{
    SendMessageW(hwnd(), EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&width));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Edit_view::set_font(HFONT font, bool redraw)
{
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

bool Edit_view::modified() const { return SendMessageW(hwnd(), EM_GETMODIFY, 0, 0) != 0; }

void Edit_view::set_modified(bool modified)
{
    SendMessageW(hwnd(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

void Edit_view::empty_undo_buffer() { SendMessageW(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0); }

bool Edit_view::can_undo() const { return SendMessageW(hwnd(), EM_CANUNDO, 0, 0) != 0; }
void Edit_view::undo() { SendMessageW(hwnd(), EM_UNDO, 0, 0); }
bool Edit_view::can_paste() const { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }
void Edit_view::paste() { SendMessageW(hwnd(), WM_PASTE, 0, 0); }
void Edit_view::copy() { SendMessageW(hwnd(), WM_COPY, 0, 0); }
void Edit_view::cut() { SendMessageW(hwnd(), WM_CUT, 0, 0); }
