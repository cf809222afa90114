// Where the main window goes at start-up: the stored rectangle, centred when it is the default
// and the work area is large enough, pulled back onto a work area it does not fit.
#pragma once

struct Window_rect {
    int x;
    int y;
    int width;
    int height;
};

constexpr Window_rect default_window_rect{0, 0, 640, 420};

// work_right and work_bottom: the right and bottom edges of the desktop work area.
Window_rect fit_window_rect(Window_rect stored, int work_right, int work_bottom);
