// The status bar: a message pane that stretches, then fixed panes each as wide as its string
// resource. A pane tied to a toggle key (Caps Lock, Num Lock, Scroll Lock) shows its string
// while the key is on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Status_pane {
    int id;   // its string resource sizes the pane
    int key;  // a toggle key whose state the pane shows, or 0
};

class Status_bar {
public:
    // panes: the fixed panes after the message pane.
    bool create(HWND parent, DWORD style, int id, const std::vector<Status_pane>& panes);
    HWND hwnd() const { return hwnd_; }

    // Pane 0 is the message pane.
    void set_text(int pane, const std::string& text);
    std::string text(int pane) const;
    int pane_width(int pane) const;

    // After the parent's size changed.
    void layout();
    void update_keys();

private:
    HWND hwnd_ = nullptr;
    std::vector<Status_pane> panes_;
    std::vector<int> widths_;
    std::vector<std::string> texts_;
};
