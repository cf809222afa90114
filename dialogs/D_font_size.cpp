#include "dialogs/D_font_size.h"

#include "base/diagnostics.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
// Enough for the largest size; a longer number could only be refused.
constexpr int field_length = 3;
}  // namespace

D_font_size::D_font_size(int* size) : Dialog(IDD_FONT_SIZE), font_size(size), entered_size(*size) {}

int D_font_size::help_context() const { return help_files_and_settings; }

bool D_font_size::on_init()
{
    HWND field = item(IDC_FONT_SIZE);
    SendMessageA(field, EM_LIMITTEXT, field_length, 0);
    // Ready to type over the size shown.
    SendMessageA(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageA(field, EM_SETSEL, 0, -1);
    return false;
}

void D_font_size::exchange(Data_exchange& dx)
{
    dx.integer(IDC_FONT_SIZE, entered_size);
    if (!dx.saving() || dx.failed()) return;
    if (entered_size < min_size || entered_size > max_size) {
        error_box("The font size must be between " + int_to_string(min_size) + " and " +
                  int_to_string(max_size) + ".");
        dx.fail(IDC_FONT_SIZE);
        return;
    }
    *font_size = entered_size;
}
