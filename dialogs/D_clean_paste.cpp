#include "dialogs/D_clean_paste.h"

#include <commctrl.h>

#include "base/diagnostics.h"
#include "framework/controls.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
// Enough for the largest delay; a longer number could only be refused.
constexpr int delay_digits = 5;

const std::string delay_range_message = "The restore delay must be a number from " +
                                        std::to_string(clean_paste_delay_min) + " to " +
                                        std::to_string(clean_paste_delay_max) + ".";
const char* const delay_empty_message =
    "Please enter the number of milliseconds before the clipboard gets its content back.";

bool win_key_down()
{
    return ((GetKeyState(VK_LWIN) | GetKeyState(VK_RWIN)) & 0x8000) != 0;
}
}  // namespace

std::string clean_paste_key_problem_message(Hotkey key)
{
    switch (hotkey_problem(key)) {
    case Hotkey_problem::none: break;
    case Hotkey_problem::empty:
        return "Please choose a key for Clean and Paste: click into the Key box and press the "
               "combination.";
    case Hotkey_problem::no_key:
        return "The combination for Clean and Paste needs a key besides Ctrl, Alt, Shift and Win.";
    case Hotkey_problem::unmodified:
        return "The key " + hotkey_text(key) +
               " alone would be taken from every program; combine it with Ctrl, Alt or Win.";
    }
    return std::string();
}

D_clean_paste::D_clean_paste(Clean_paste_options& options,
                             std::function<bool(const Clean_paste_options&)> apply)
    : Dialog(IDD_CLEAN_PASTE), options_(options), apply_(std::move(apply))
{
}

int D_clean_paste::help_context() const { return help_clean_and_paste; }

bool D_clean_paste::on_init()
{
    SendMessageW(item(IDC_CLEAN_PASTE_DELAY), EM_LIMITTEXT, delay_digits, 0);
    enable_key(options_.on != 0);
    return true;
}

void D_clean_paste::enable_key(bool on)
{
    for (int id : {IDC_CLEAN_PASTE_KEY_LABEL, IDC_CLEAN_PASTE_KEY, IDC_CLEAN_PASTE_WIN})
        EnableWindow(item(id), on ? TRUE : FALSE);
}

void D_clean_paste::follow_win_key()
{
    HWND box = item(IDC_CLEAN_PASTE_KEY);
    const WORD value = static_cast<WORD>(SendMessageW(box, HKM_GETHOTKEY, 0, 0));
    const bool win = win_key_down();
    if (LOBYTE(value) == VK_LWIN || LOBYTE(value) == VK_RWIN) {
        // The control took the Win key itself for the key: it is the box's.
        Exchange_scope scope(*this);
        SendMessageW(box, HKM_SETHOTKEY, MAKEWORD(0, HIBYTE(value)), 0);
    }
    SendMessageW(item(IDC_CLEAN_PASTE_WIN), BM_SETCHECK, win ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool D_clean_paste::on_command(int id, int code, HWND control)
{
    if (id == IDC_CLEAN_PASTE_ON && code == BN_CLICKED) {
        enable_key(is_checked(IDC_CLEAN_PASTE_ON));
        return true;
    }
    if (id == IDC_CLEAN_PASTE_KEY && code == EN_CHANGE) {
        if (!exchanging() && GetFocus() == control) follow_win_key();
        return true;
    }
    return Dialog::on_command(id, code, control);
}

void D_clean_paste::exchange(Data_exchange& dx)
{
    HWND box = item(IDC_CLEAN_PASTE_KEY);
    Clean_paste_options chosen = options_;
    int win = (options_.key.modifiers & hotkey_win) ? 1 : 0;
    std::string delay = std::to_string(options_.delay);
    dx.check(IDC_CLEAN_PASTE_ON, chosen.on);
    dx.check(IDC_CLEAN_PASTE_WIN, win);
    dx.text(IDC_CLEAN_PASTE_DELAY, delay);
    if (!dx.saving()) {
        SendMessageW(box, HKM_SETHOTKEY, hotkey_control_value(options_.key), 0);
        return;
    }
    chosen.key = hotkey_from_control(static_cast<WORD>(SendMessageW(box, HKM_GETHOTKEY, 0, 0)), win != 0);
    const std::string problem = clean_paste_key_problem_message(chosen.key);
    if (!problem.empty()) {
        if (chosen.on) {
            error_box(problem);
            dx.fail(IDC_CLEAN_PASTE_KEY);
            return;
        }
        chosen.key = options_.key;
    }
    if (delay.find_first_not_of(" \t") == std::string::npos) {
        error_box(delay_empty_message);
        dx.fail(IDC_CLEAN_PASTE_DELAY);
        return;
    }
    if (!parse_integer(delay, chosen.delay) || chosen.delay < clean_paste_delay_min ||
        chosen.delay > clean_paste_delay_max) {
        error_box(delay_range_message);
        dx.fail(IDC_CLEAN_PASTE_DELAY);
        return;
    }
    if (apply_ && !apply_(chosen)) {
        dx.fail(IDC_CLEAN_PASTE_KEY);
        return;
    }
    options_ = chosen;
}
