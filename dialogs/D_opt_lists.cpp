#include "dialogs/D_opt_lists.h"

#include "base/diagnostics.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/cleaning_settings.h"

namespace {
// The fixed-width group: what only the indented format uses.
const int fixed_width_group[] = {IDC_LIST_ADJUST_INDENT, IDC_LIST_INDENT, IDC_LIST_NOTE,
                                 IDC_LIST_MAX_TEXT,      IDC_LIST_MAX_LENGTH,
                                 IDC_LIST_MAX_NOTE,      IDC_LIST_SPACES_TEXT};
}  // namespace

D_opt_lists::D_opt_lists(Preset_state& presets) : Option_page(IDD_OPT_LISTS, "Lists", presets)
{
    read_prefs();
}

int D_opt_lists::help_context() const { return help_list_options; }

void D_opt_lists::prepare_controls()
{
    SendMessageA(item(IDC_LIST_MAX_LENGTH), EM_LIMITTEXT, 6, 0);
}

void D_opt_lists::exchange(Data_exchange& dx)
{
    dx.check(IDC_LIST_ADJUST_INDENT, adjust_indent);
    dx.text(IDC_LIST_CUSTOM_TEXT, custom_symbol);
    dx.check(IDC_LIST_CUSTOM, custom);
    dx.check(IDC_LIST_DASH, dash);
    dx.check(IDC_LIST_LETTERS, letters);
    dx.check(IDC_LIST_NUMBERS, numbers);
    dx.check(IDC_LIST_O, letter_o);
    dx.check(IDC_LIST_ROMAN, roman);
    dx.check(IDC_LIST_STAR, star);
    dx.text(IDC_LIST_MAX_LENGTH, max_length);
    dx.text(IDC_LIST_INDENT, indent);
}

bool D_opt_lists::is_setting_change(int id, int code) const
{
    switch (id) {
    case IDC_LIST_NUMBERS:
    case IDC_LIST_ROMAN:
    case IDC_LIST_LETTERS:
    case IDC_LIST_DASH:
    case IDC_LIST_STAR:
    case IDC_LIST_O:
    case IDC_LIST_CUSTOM:
    case IDC_LIST_ADJUST_INDENT:
        return code == BN_CLICKED;
    case IDC_LIST_INDENT:
    case IDC_LIST_MAX_LENGTH:
    case IDC_LIST_CUSTOM_TEXT:
        return code == EN_CHANGE;
    }
    return false;
}

bool D_opt_lists::on_command(int id, int code, HWND control)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_LIST_SELECT_ALL: OnSelectAll(); return true;
        case IDC_LIST_CLEAR_ALL: OnClearAll(); return true;
        case IDC_LIST_FORMAT_PARAGRAPH: OnFormatParagraph(); return true;
        case IDC_LIST_FORMAT_INDENTED: OnFormatIndented(); return true;
        }
    }
    return Option_page::on_command(id, code, control);
}

void D_opt_lists::OnSelectAll()
{
    update_data(true);
    numbers = roman = letters = dash = star = letter_o = 1;
    update_data(false);
    OnSettingChanged();
}

void D_opt_lists::OnClearAll()
{
    update_data(true);
    numbers = roman = letters = dash = star = letter_o = custom = 0;
    update_data(false);
    OnSettingChanged();
}

void D_opt_lists::OnFormatParagraph()
{
    format = 0;
    OnSettingChanged();
}

void D_opt_lists::OnFormatIndented()
{
    format = 1;
    OnSettingChanged();
}

void D_opt_lists::read_prefs()
{
    Cleaning_prefs& p = prefs();
    adjust_indent = p.get_int_setting(setting::list_adjust_indent);
    custom_symbol = p.get_string_setting(setting::list_id_custom);
    custom = custom_symbol.empty() ? 0 : 1;
    dash = p.get_int_setting(setting::list_id_dash);
    letters = p.get_int_setting(setting::list_id_letters);
    numbers = p.get_int_setting(setting::list_id_numbers);
    letter_o = p.get_int_setting(setting::list_id_o);
    roman = p.get_int_setting(setting::list_id_roman);
    star = p.get_int_setting(setting::list_id_star);
    max_length = int_to_string(p.get_int_setting(setting::list_max_line_length));
    indent = int_to_string(p.get_int_setting(setting::list_num_indent_spaces));
    format = p.get_int_setting(setting::list_format);
}

void D_opt_lists::update_controls()
{
    update_data(true);
    enable(IDC_LIST_FORMAT_PARAGRAPH, true);
    enable(IDC_LIST_FORMAT_INDENTED, true);
    for (int id : fixed_width_group) enable(id, true);
    enable(IDC_LIST_CUSTOM_TEXT, true);
    if (format == 0)
        for (int id : fixed_width_group) enable(id, false);
    if (!custom) {
        if (!numbers && !roman && !letters && !dash && !star && !letter_o) {
            enable(IDC_LIST_FORMAT_PARAGRAPH, false);
            enable(IDC_LIST_FORMAT_INDENTED, false);
            for (int id : fixed_width_group) enable(id, false);
        }
        enable(IDC_LIST_CUSTOM_TEXT, false);
    }
    if (!adjust_indent) enable(IDC_LIST_INDENT, false);
    SendMessageA(item(IDC_LIST_FORMAT_INDENTED), BM_SETCHECK, format == 1 ? BST_CHECKED : BST_UNCHECKED,
                 0);
    SendMessageA(item(IDC_LIST_FORMAT_PARAGRAPH), BM_SETCHECK,
                 format == 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool D_opt_lists::validate()
{
    update_data(true);
    const bool max_enabled = enabled(IDC_LIST_MAX_LENGTH);
    const bool indent_enabled = enabled(IDC_LIST_INDENT);
    if (max_length.empty() && max_enabled)
        return refuse("Please enter the maximum length of a list item line.", IDC_LIST_MAX_LENGTH);
    if (indent.empty() && indent_enabled)
        return refuse("Please enter the list indentation.", IDC_LIST_INDENT);
    // The field has no length limit of its own: a number the setting cannot hold is refused
    // rather than stored as some other number.
    if (field_number_too_large(indent))
        return refuse("The list indentation is too large.  Please enter a smaller number.",
                      IDC_LIST_INDENT);
    if (max_enabled && field_number(max_length) == 0)
        return refuse("The maximum length of a list item line must be greater than zero.",
                      IDC_LIST_MAX_LENGTH);
    if (max_enabled && indent_enabled && field_number(indent) >= field_number(max_length))
        return refuse("The list indentation must be less then the maximum length of a list item "
                      "line.",
                      IDC_LIST_INDENT);
    return true;
}

void D_opt_lists::write_prefs()
{
    update_data(true);
    Cleaning_prefs& p = prefs();
    p.set_int_setting(setting::list_adjust_indent, adjust_indent);
    p.set_string_setting(setting::list_id_custom, custom ? custom_symbol : std::string());
    p.set_int_setting(setting::list_id_dash, dash);
    p.set_int_setting(setting::list_id_letters, letters);
    p.set_int_setting(setting::list_id_numbers, numbers);
    p.set_int_setting(setting::list_id_o, letter_o);
    p.set_int_setting(setting::list_id_roman, roman);
    p.set_int_setting(setting::list_id_star, star);
    p.set_int_setting(setting::list_max_line_length, field_number(max_length));
    p.set_int_setting(setting::list_num_indent_spaces, field_number(indent));
    p.set_int_setting(setting::list_format, format);
}
