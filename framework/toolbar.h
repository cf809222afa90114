// The toolbar: the system's toolbar control with bitmap buttons, bound to this object so that
// controls placed on it report to it. Each button carries a command id; its tool tip is asked
// of the frame, which takes it from the command's string.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/command.h"
#include "framework/window.h"

class Toolbar : public Window {
public:
    // layout: the entries in order, a command id per button and 0 per separator; the buttons
    // take the images of bitmap_id (image_width by image_height each) in order.
    bool create(HWND parent, DWORD style, int id, int bitmap_id, const std::vector<int>& layout,
                int image_width = 16, int image_height = 15);

    int entry_count() const;
    // The command of entry index (0 for a separator).
    int command_at(int index) const;
    // Turns the separator at index into a slot width pixels wide carrying command id.
    bool make_control_slot(int index, int command, int width);
    RECT entry_rect(int index) const;
    // A tool tip for a control on the toolbar; notify_window is asked for its text.
    void add_control_tip(HWND control, HWND notify_window);

    // Brings every button's enabled and checked look in line with state_of(command).
    void update(const std::function<Command_state(int)>& state_of);

protected:
    // A notification from a control placed on the toolbar.
    virtual void on_control_notification(int id, int code, HWND control);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
};
