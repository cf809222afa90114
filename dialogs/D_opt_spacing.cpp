#include "dialogs/D_opt_spacing.h"

#include "base/diagnostics.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/cleaning_settings.h"

D_opt_spacing::D_opt_spacing(Preset_state& presets)
    : Option_page(IDD_OPT_SPACING, "Spacing", presets)
{
    read_prefs();
}

int D_opt_spacing::help_context() const { return help_spacing_options; }

void D_opt_spacing::prepare_controls()
{
    fill_sentence_spaces(IDC_SPAC_SENT_SPACES);
    for (int id : {IDC_SPAC_INDENT, IDC_SPAC_LINES, IDC_SPAC_TAB_STOPS})
        SendMessageA(item(id), EM_LIMITTEXT, 3, 0);
}

void D_opt_spacing::exchange(Data_exchange& dx)
{
    dx.check(IDC_SPAC_ADJUST_INDENT, adjust_indent);
    dx.check(IDC_SPAC_ADJUST_SPACING, adjust_spacing);
    dx.check(IDC_SPAC_SENT_SPACING, clean_up_sent_spacing);
    dx.text(IDC_SPAC_INDENT, indent);
    exchange_sentence_spaces(dx, IDC_SPAC_SENT_SPACES, spaces_between_sents);
    dx.text(IDC_SPAC_LINES, lines_between);
    dx.check(IDC_SPAC_EXTRA_SPACES, remove_extra_spaces);
    dx.text(IDC_SPAC_TAB_STOPS, tab_stops);
}

bool D_opt_spacing::is_setting_change(int id, int code) const
{
    switch (id) {
    case IDC_SPAC_ADJUST_INDENT:
    case IDC_SPAC_ADJUST_SPACING:
    case IDC_SPAC_EXTRA_SPACES:
    case IDC_SPAC_SENT_SPACING:
        return code == BN_CLICKED;
    case IDC_SPAC_INDENT:
    case IDC_SPAC_LINES:
    case IDC_SPAC_TAB_STOPS:
        return code == EN_CHANGE;
    case IDC_SPAC_SENT_SPACES:
        return code == CBN_SELCHANGE;
    }
    return false;
}

void D_opt_spacing::read_prefs()
{
    Cleaning_prefs& p = prefs();
    adjust_indent = p.get_int_setting(setting::spac_adjust_para_indent);
    adjust_spacing = p.get_int_setting(setting::spac_adjust_para_spacing);
    clean_up_sent_spacing = p.get_int_setting(setting::spac_clean_up_sent_spacing);
    indent = int_to_string(p.get_int_setting(setting::spac_num_spaces_to_indent));
    spaces_between_sents = p.get_int_setting(setting::spac_num_spaces_between_sents);
    lines_between = int_to_string(p.get_int_setting(setting::spac_lines_between_paras));
    remove_extra_spaces = p.get_int_setting(setting::spac_rem_extra_spaces_between_words);
    tab_stops = int_to_string(p.get_int_setting(setting::spac_tab_stops));
}

void D_opt_spacing::update_controls()
{
    update_data(true);
    for (int id : {IDC_SPAC_INDENT, IDC_SPAC_ARROW, IDC_SPAC_LINES, IDC_SPAC_SENT_SPACES,
                   IDC_SPAC_SENT_LABEL, IDC_SPAC_SENT_NOTE})
        enable(id, true);
    if (!adjust_indent)
        for (int id : {IDC_SPAC_INDENT, IDC_SPAC_ARROW}) enable(id, false);
    if (!adjust_spacing) enable(IDC_SPAC_LINES, false);
    if (!clean_up_sent_spacing)
        for (int id : {IDC_SPAC_SENT_SPACES, IDC_SPAC_SENT_LABEL, IDC_SPAC_SENT_NOTE})
            enable(id, false);
}

bool D_opt_spacing::validate()
{
    update_data(true);
    if (tab_stops.empty())
        return refuse("Please enter a value for the tab stops.", IDC_SPAC_TAB_STOPS);
    if (indent.empty() && adjust_indent)
        return refuse("Please enter the paragraph indentation.", IDC_SPAC_INDENT);
    if (lines_between.empty() && adjust_spacing)
        return refuse("Please enter the number of lines to place in between paragraphs.",
                      IDC_SPAC_LINES);
    return true;
}

void D_opt_spacing::write_prefs()
{
    update_data(true);
    Cleaning_prefs& p = prefs();
    p.set_int_setting(setting::spac_adjust_para_indent, adjust_indent);
    p.set_int_setting(setting::spac_adjust_para_spacing, adjust_spacing);
    p.set_int_setting(setting::spac_clean_up_sent_spacing, clean_up_sent_spacing);
    p.set_int_setting(setting::spac_num_spaces_to_indent, field_number(indent));
    p.set_int_setting(setting::spac_num_spaces_between_sents, spaces_between_sents);
    p.set_int_setting(setting::spac_lines_between_paras, field_number(lines_between));
    p.set_int_setting(setting::spac_rem_extra_spaces_between_words, remove_extra_spaces);
    p.set_int_setting(setting::spac_tab_stops, field_number(tab_stops));
}
