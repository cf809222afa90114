// The right-hand side of the help window: one topic painted as a page, its title large, its
// paragraphs and list items wrapped to the width of the window, its examples in a fixed-pitch
// font on a tinted band. It scrolls with the scroll bar, the wheel and the keyboard. Its window
// text is the topic as plain text, for anything that reads windows rather than pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/help_text.h"
#include "framework/window.h"

class Help_page : public Window {
public:
    ~Help_page() override;

    bool create(HWND parent, int id);
    // topic must outlive its showing; the page starts at the top.
    void show_topic(const Help_topic& topic);

    int scroll_position() const { return scroll_; }
    // The height of the whole topic as laid out for the page's width.
    int content_height() const { return height_; }
    // The examples as laid out on the page, wrapped to its width.
    std::vector<std::string> shown_examples() const;
    void scroll_to(int y);

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Placed {
        const Help_block* block;  // nullptr: the title
        RECT text;
        RECT marker;  // list items
        RECT band;    // examples
        std::string example;  // as wrapped to the band
    };

    void make_fonts();
    void layout();
    void paint(HDC dc, const RECT& client);
    void update_scroll_bar();
    int line_height() const;
    int page_height() const;
    void on_vscroll(int code);

    const Help_topic* topic_ = nullptr;
    std::vector<Placed> placed_;
    HFONT title_font_ = nullptr;
    HFONT body_font_ = nullptr;
    HFONT example_font_ = nullptr;
    int scroll_ = 0;
    int height_ = 0;
};
