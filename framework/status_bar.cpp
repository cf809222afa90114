#include "framework/status_bar.h"

#include <commctrl.h>

#include "framework/strings.h"
#include "framework/window.h"

namespace {

int text_width(HWND bar, const std::string& text)
{
    HDC dc = GetDC(bar);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    const std::wstring wide = widen(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return size.cx;
}

}  // namespace

bool Status_bar::create(HWND parent, DWORD style, int id, const std::vector<Status_pane>& panes)
{
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | SBARS_SIZEGRIP | style, 0, 0,
                            0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            module_instance(), nullptr);
    if (!hwnd_) return false;
    panes_ = panes;
    texts_.assign(panes.size() + 1, std::string());
    widths_.clear();
    const int padding = 4 * GetSystemMetrics(SM_CXEDGE) + 4;
    for (const Status_pane& pane : panes_)
        widths_.push_back(text_width(hwnd_, load_string(pane.id)) + padding);
    layout();
    return true;
}

void Status_bar::set_text(int pane, const std::string& text)
{
    if (!hwnd_ || pane < 0 || pane >= static_cast<int>(texts_.size())) return;
    if (texts_[pane] == text) return;
    texts_[pane] = text;
    SendMessageW(hwnd_, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

std::string Status_bar::text(int pane) const
{
    if (pane < 0 || pane >= static_cast<int>(texts_.size())) return std::string();
    return texts_[pane];
}

int Status_bar::pane_width(int pane) const
{
    if (pane < 1 || pane > static_cast<int>(widths_.size())) return 0;
    return widths_[pane - 1];
}

void Status_bar::layout()
{
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SIZE, 0, 0);
    RECT client{};
    GetClientRect(hwnd_, &client);
    // The size grip sits inside the last pane: widen that pane by it.
    const int count = static_cast<int>(widths_.size());
    std::vector<int> edges(count + 1);
    edges[count] = -1;
    int left = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int part = count; part >= 1; --part) {
        left -= widths_[part - 1];
        edges[part - 1] = left > 0 ? left : 0;
    }
    SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (std::size_t i = 0; i < texts_.size(); ++i)
        SendMessageW(hwnd_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(widen(texts_[i]).c_str()));
}

void Status_bar::update_keys()
{
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (!panes_[i].key) continue;
        bool on = (GetKeyState(panes_[i].key) & 1) != 0;
        set_text(static_cast<int>(i) + 1, on ? load_string(panes_[i].id) : std::string());
    }
}
