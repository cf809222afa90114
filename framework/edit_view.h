// A view that is itself a multi-line EDIT control, with the editor operations the program's
// commands are made of. The control holds UTF-16; texts here are UTF-8, and positions and the
// limit count UTF-16 units as the control does.
#pragma once

#include <string>

#include "framework/view.h"

class Edit_view : public View {
public:
    bool create_view(HWND parent, int id) override;

    std::string text() const;
    void set_text(const std::string& text);
    // The text between two positions, as UTF-8.
    std::string text_range(int start, int end) const;
    // The control's length in its own units.
    int text_length() const;
    // The selection as EM_GETSEL reports it.
    void selection(int& start, int& end) const;
    void set_selection(int start, int end);
    void scroll_caret();
    void replace_selection(const std::string& text, bool can_undo);
    int line_count() const;
    // Length of the line holding character position.
    int line_length(int position) const;
    void set_limit(int characters);
    int limit() const;
    // Every width dialog-template units (4 units = one average character).
    void set_tab_stops(int width);
    void set_font(HFONT font, bool redraw);

    // The control's modification flag (EM_GETMODIFY): set by every change to the text.
    bool modified() const;
    void set_modified(bool modified);
    void empty_undo_buffer();

    bool can_undo() const;
    void undo();
    bool can_paste() const;
    void paste();
    void copy();
    void cut();

protected:
    // The window styles the control is created with; views adjust them here.
    virtual void adjust_style(DWORD& style, DWORD& ex_style) { (void)style, (void)ex_style; }
};
