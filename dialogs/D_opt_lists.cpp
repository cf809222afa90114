#include "dialogs/D_opt_lists.h"

#include "base/diagnostics_win32.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
using namespace page_control;

// The six identifier check boxes that Select All ticks.
const int identifier_boxes[] = {IDC_LIST_NUMBERS, IDC_LIST_ROMAN, IDC_LIST_LETTERS,
                                IDC_LIST_DASH,    IDC_LIST_STAR,  IDC_LIST_O};

bool any_identifier(const Option_page& p)
{
    if (p.checked(IDC_LIST_CUSTOM)) return true;
    for (int id : identifier_boxes)
        if (p.checked(id)) return true;
    return false;
}
// What only the indented format uses.
bool fixed_width(const Option_page& p) { return any_identifier(p) && p.checked(IDC_LIST_FORMAT_INDENTED); }
bool indent_adjusted(const Option_page& p) { return fixed_width(p) && p.checked(IDC_LIST_ADJUST_INDENT); }
bool custom(const Option_page& p) { return p.checked(IDC_LIST_CUSTOM); }

// The empty fields are refused in this order: the maximum length first.
std::vector<Page_control> controls()
{
    using namespace setting;
    return {
        check(IDC_LIST_NUMBERS, list_id_numbers),
        check(IDC_LIST_ROMAN, list_id_roman),
        check(IDC_LIST_LETTERS, list_id_letters),
        check(IDC_LIST_DASH, list_id_dash),
        check(IDC_LIST_STAR, list_id_star),
        check(IDC_LIST_O, list_id_o),
        text_check(IDC_LIST_CUSTOM, IDC_LIST_CUSTOM_TEXT),
        text(IDC_LIST_CUSTOM_TEXT, list_id_custom, custom),
        radio(IDC_LIST_FORMAT_PARAGRAPH, list_format, 0, any_identifier),
        radio(IDC_LIST_FORMAT_INDENTED, list_format, 1, any_identifier),
        number(IDC_LIST_MAX_LENGTH, list_max_line_length, "maximum length of a list item line",
               "Please enter the maximum length of a list item line.", fixed_width),
        check(IDC_LIST_ADJUST_INDENT, list_adjust_indent, fixed_width),
        number(IDC_LIST_INDENT, list_num_indent_spaces, "list indentation",
               "Please enter the list indentation.", indent_adjusted),
        label(IDC_LIST_NOTE, fixed_width),
        label(IDC_LIST_MAX_TEXT, fixed_width),
        label(IDC_LIST_MAX_NOTE, fixed_width),
        label(IDC_LIST_SPACES_TEXT, fixed_width),
    };
}
}  // namespace

D_opt_lists::D_opt_lists(Preset_state& presets, Cleaning_settings& values)
    : Option_page(IDD_OPT_LISTS, "Lists", presets, values, controls())
{
}

int D_opt_lists::help_context() const { return help_list_options; }

bool D_opt_lists::on_command(int id, int code, HWND control)
{
    if (code == BN_CLICKED && id == IDC_LIST_SELECT_ALL) {
        OnSelectAll();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_LIST_CLEAR_ALL) {
        OnClearAll();
        return true;
    }
    return Option_page::on_command(id, code, control);
}

void D_opt_lists::OnSelectAll()
{
    for (int id : identifier_boxes) set_checked(id, true);
    OnSettingChanged();
}

void D_opt_lists::OnClearAll()
{
    for (int id : identifier_boxes) set_checked(id, false);
    set_checked(IDC_LIST_CUSTOM, false);
    OnSettingChanged();
}

bool D_opt_lists::check(const Cleaning_settings& stored)
{
    const bool max_enabled = is_control_enabled(hwnd(), IDC_LIST_MAX_LENGTH);
    const bool indent_enabled = is_control_enabled(hwnd(), IDC_LIST_INDENT);
    // The field takes ten digits, more than the setting can hold: such a number is refused
    // rather than stored as some other number.
    if (field_number_too_large(field_text(IDC_LIST_INDENT)))
        return refuse("The list indentation is too large.  Please enter a smaller number.",
                      IDC_LIST_INDENT);
    if (max_enabled && stored.list_max_line_length == 0)
        return refuse("The maximum length of a list item line must be greater than zero.",
                      IDC_LIST_MAX_LENGTH);
    if (max_enabled && indent_enabled && stored.list_num_indent_spaces >= stored.list_max_line_length)
        return refuse("The list indentation must be less then the maximum length of a list item "
                      "line.",
                      IDC_LIST_INDENT);
    return true;
}
