#include "app/help_page.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "framework/controls.h"
#include "framework/strings.h"

namespace {

const char* const page_class = "SorvaneHelpPage";
constexpr int margin = 14;
constexpr int title_gap = 10;
constexpr int block_gap = 8;
constexpr int item_gap = 3;
constexpr int band_padding = 5;
constexpr UINT text_flags = DT_NOPREFIX | DT_EXPANDTABS;
const COLORREF title_colour = RGB(0, 51, 153);
const COLORREF band_colour = RGB(240, 243, 248);

void draw_text(HDC dc, const std::string& text, RECT* r, UINT flags)
{
    const std::wstring wide = widen(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), r, flags);
}

int text_height(HDC dc, HFONT font, const std::string& text, int width, UINT flags)
{
    SelectObject(dc, font);
    RECT r{0, 0, std::max(width, 1), 0};
    draw_text(dc, text.empty() ? " " : text, &r, flags | DT_CALCRECT);
    return r.bottom - r.top;
}

}  // namespace

Help_page::~Help_page()
{
    // The window goes first, so it never paints with a deleted font.
    if (hwnd()) DestroyWindow(hwnd());
    for (HFONT font : {title_font_, body_font_, example_font_})
        if (font) DeleteObject(font);
}

bool Help_page::create(HWND parent, int id)
{
    if (!register_class(page_class, nullptr, GetSysColorBrush(COLOR_WINDOW))) return false;
    make_fonts();
    return Window::create(page_class, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP,
                          WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Help_page::make_fonts()
{
    if (body_font_) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW face = metrics.lfMessageFont;
    face.lfHeight = point_size_to_height(9);
    body_font_ = CreateFontIndirectW(&face);
    face.lfHeight = point_size_to_height(14);
    face.lfWeight = FW_BOLD;
    title_font_ = CreateFontIndirectW(&face);
    example_font_ = CreateFontW(point_size_to_height(9), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH | FF_MODERN, L"Courier New");
}

void Help_page::show_topic(const Help_topic& topic)
{
    topic_ = &topic;
    set_window_text(hwnd(), help_topic_text(topic));
    scroll_ = 0;
    layout();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

std::vector<std::string> Help_page::shown_examples() const
{
    std::vector<std::string> examples;
    for (const Placed& p : placed_)
        if (p.block && p.block->kind == Help_block::Kind::example) examples.push_back(p.example);
    return examples;
}

int Help_page::line_height() const
{
    HDC dc = GetDC(hwnd());
    SelectObject(dc, body_font_);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(hwnd(), dc);
    return std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
}

int Help_page::page_height() const
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    return client.bottom - client.top;
}

void Help_page::layout()
{
    placed_.clear();
    height_ = 0;
    if (!topic_ || !hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int left = margin;
    const int right = std::max(static_cast<int>(client.right) - margin, left + 40);
    HDC dc = GetDC(hwnd());
    HGDIOBJ old_font = GetCurrentObject(dc, OBJ_FONT);
    SelectObject(dc, body_font_);
    SIZE marker_size{};
    GetTextExtentPoint32W(dc, L"00. ", 4, &marker_size);
    const int indent = marker_size.cx;
    SelectObject(dc, example_font_);
    TEXTMETRICA example_metrics{};
    GetTextMetricsA(dc, &example_metrics);
    const int example_char = std::max(1, static_cast<int>(example_metrics.tmAveCharWidth));

    int y = margin;
    const UINT wrap = text_flags | DT_WORDBREAK;
    int h = text_height(dc, title_font_, topic_->title, right - left, wrap);
    placed_.push_back({nullptr, {left, y, right, y + h}, {}, {}, {}});
    y += h + title_gap;

    const Help_block* previous = nullptr;
    for (const Help_block& block : topic_->blocks) {
        if (previous)
            y += previous->kind == Help_block::Kind::item && block.kind == Help_block::Kind::item
                     ? item_gap
                     : block_gap;
        Placed p{&block, {}, {}, {}, {}};
        switch (block.kind) {
        case Help_block::Kind::paragraph:
            h = text_height(dc, body_font_, block.text, right - left, wrap);
            p.text = {left, y, right, y + h};
            break;
        case Help_block::Kind::item:
            h = text_height(dc, body_font_, block.text, right - left - indent, wrap);
            p.marker = {left, y, left + indent, y + h};
            p.text = {left + indent, y, right, y + h};
            break;
        case Help_block::Kind::example:
            p.example = wrap_example(block.text, (right - left - 3 * band_padding) / example_char);
            h = text_height(dc, example_font_, p.example, right - left, text_flags) +
                2 * band_padding;
            p.band = {left, y, right, y + h};
            p.text = {left + 2 * band_padding, y + band_padding, right - band_padding,
                      y + h - band_padding};
            break;
        }
        placed_.push_back(std::move(p));
        y += h;
        previous = &block;
    }
    height_ = y + margin;
    SelectObject(dc, old_font);
    ReleaseDC(hwnd(), dc);
    scroll_to(scroll_);
}

void Help_page::update_scroll_bar()
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(height_ - 1, 0);
    info.nPage = static_cast<UINT>(std::max(page_height(), 0));
    info.nPos = scroll_;
    SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
}

void Help_page::scroll_to(int y)
{
    const int most = std::max(height_ - page_height(), 0);
    const int target = std::clamp(y, 0, most);
    const bool moved = target != scroll_;
    scroll_ = target;
    update_scroll_bar();
    if (moved) InvalidateRect(hwnd(), nullptr, FALSE);
}

void Help_page::on_vscroll(int code)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    switch (code) {
    case SB_LINEUP: scroll_to(scroll_ - line_height()); break;
    case SB_LINEDOWN: scroll_to(scroll_ + line_height()); break;
    case SB_PAGEUP: scroll_to(scroll_ - page_height()); break;
    case SB_PAGEDOWN: scroll_to(scroll_ + page_height()); break;
    case SB_TOP: scroll_to(0); break;
    case SB_BOTTOM: scroll_to(height_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        GetScrollInfo(hwnd(), SB_VERT, &info);
        scroll_to(info.nTrackPos);
        break;
    }
}

void Help_page::paint(HDC dc, const RECT& client)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    const UINT wrap = text_flags | DT_WORDBREAK;
    for (const Placed& p : placed_) {
        RECT text = p.text;
        OffsetRect(&text, 0, -scroll_);
        const LONG bottom = std::max(p.text.bottom, p.band.bottom) - scroll_;
        if (text.top > client.bottom || bottom < client.top) continue;
        if (!p.block) {
            SelectObject(dc, title_font_);
            SetTextColor(dc, title_colour);
            draw_text(dc, topic_->title, &text, wrap);
            continue;
        }
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        const Help_block& block = *p.block;
        if (block.kind == Help_block::Kind::example) {
            RECT band = p.band;
            OffsetRect(&band, 0, -scroll_);
            HBRUSH brush = CreateSolidBrush(band_colour);
            FillRect(dc, &band, brush);
            DeleteObject(brush);
            SelectObject(dc, example_font_);
            draw_text(dc, p.example, &text, text_flags);
            continue;
        }
        SelectObject(dc, body_font_);
        if (block.kind == Help_block::Kind::item) {
            RECT marker = p.marker;
            OffsetRect(&marker, 0, -scroll_);
            draw_text(dc, block.marker, &marker, text_flags);
        }
        draw_text(dc, block.text, &text, wrap);
    }
}

LRESULT Help_page::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT client{};
        GetClientRect(hwnd(), &client);
        // Drawn off screen first, so scrolling does not flicker.
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1),
                                                std::max<LONG>(client.bottom, 1));
        HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
        HGDIOBJ old_font = GetCurrentObject(memory, OBJ_FONT);
        paint(memory, client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old_font);
        SelectObject(memory, old_bitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        layout();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_VSCROLL:
        on_vscroll(LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL:
        scroll_to(scroll_ - GET_WHEEL_DELTA_WPARAM(wp) * 3 * line_height() / WHEEL_DELTA);
        return 0;
    case WM_KEYDOWN:
        switch (wp) {
        case VK_UP: on_vscroll(SB_LINEUP); return 0;
        case VK_DOWN: on_vscroll(SB_LINEDOWN); return 0;
        case VK_PRIOR: on_vscroll(SB_PAGEUP); return 0;
        case VK_NEXT: on_vscroll(SB_PAGEDOWN); return 0;
        case VK_HOME: on_vscroll(SB_TOP); return 0;
        case VK_END: on_vscroll(SB_BOTTOM); return 0;
        // Reaches here only inside another window's modal loop, which knows nothing of ours.
        case VK_ESCAPE: PostMessageA(GetParent(hwnd()), WM_COMMAND, IDCANCEL, 0); return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd());
        return 0;
    }
    return default_handling(msg, wp, lp);
}
