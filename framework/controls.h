// Small helpers for controls: window texts, and a combo box that can be created or attached to
// a dialog's control and then bound (subclassed) to its object.
#pragma once

#include <windows.h>

#include <string>

#include "framework/window.h"

// Window texts are UTF-8 here and UTF-16 in the window.
std::string window_text(HWND window);
void set_window_text(HWND window, const std::string& text);
// The height CreateFont takes for a font of points on the screen.
int point_size_to_height(int points);
// The window's class name in lower case ("edit", "combobox").
std::string window_class(HWND window);

class Combo_box : public Window {
public:
    bool create(HWND parent, int id, const RECT& rect, DWORD style);
    // Binds a combo box that already exists (a dialog's control).
    bool attach(HWND combo) { return subclass(combo); }

    void reset();
    // The new entry's index, or -1 when it cannot be added.
    int add_string(const std::string& text);
    // Selects the first entry, from the start of the list, that begins with prefix (case
    // ignored); returns its index, or -1 when none matches (the list is then left unselected).
    int select_string(const std::string& prefix);
    // The selected index, or -1.
    int selection() const;
    void set_selection(int index);
    std::string item_text(int index) const;
    int count() const;
    void set_font(HFONT font, bool redraw);
};
