#include "app/window_rect.h"

Window_rect fit_window_rect(Window_rect r, int work_right, int work_bottom)
{
    if (r.x < 0) r.x = 0;
    if (r.y < 0) r.y = 0;
    // A damaged size would give a window too small to find or grab: take the default size.
    if (r.width < 1 || r.height < 1) {
        r.width = default_window_rect.width;
        r.height = default_window_rect.height;
    }
    const bool is_default = r.x == default_window_rect.x && r.y == default_window_rect.y &&
                            r.width == default_window_rect.width &&
                            r.height == default_window_rect.height;
    if (is_default && work_right > 640 && work_bottom > 480) {
        r.x = work_right / 2 - 320;
        r.y = work_bottom / 2 - 210;
    }
    // In 64 bits: stored values may be anything, and their sums must not overflow.
    if (static_cast<long long>(r.x) + r.width > work_right ||
        static_cast<long long>(r.y) + r.height > work_bottom) {
        r.x = 0;
        r.y = 0;
        if (r.width > work_right || r.height > work_bottom) {
            r.width = work_right;
            r.height = work_bottom;
        }
    }
    return r;
}
