#include "dialogs/D_opt_para.h"

#include "base/diagnostics.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/cleaning_settings.h"

D_opt_para::D_opt_para(Preset_state& presets) : Option_page(IDD_OPT_PARA, "Paragraph", presets)
{
    read_prefs();
}

int D_opt_para::help_context() const { return help_paragraph_options; }

void D_opt_para::prepare_controls()
{
    fill_sentence_spaces(IDC_PARA_SENT_SPACES);
    SendMessageA(item(IDC_PARA_INDENT_SPACES), EM_LIMITTEXT, 3, 0);
    SendMessageA(item(IDC_PARA_MAX_CHARS), EM_LIMITTEXT, 6, 0);
}

void D_opt_para::exchange(Data_exchange& dx)
{
    dx.check(IDC_PARA_BLANK_LINES, blank_lines_separate);
    dx.check(IDC_PARA_INDENTED, indented_makes_new);
    dx.text(IDC_PARA_INDENT_SPACES, indent_spaces);
    dx.text(IDC_PARA_MAX_CHARS, max_chars);
    dx.check(IDC_PARA_UNLIMITED, unlimited);
    dx.check(IDC_PARA_PUNCT_ENDS, punct_mark_ends);
    dx.check(IDC_PARA_REMOVE_BREAKS, remove_line_breaks);
    exchange_sentence_spaces(dx, IDC_PARA_SENT_SPACES, spaces_between_sents);
}

bool D_opt_para::is_setting_change(int id, int code) const
{
    switch (id) {
    case IDC_PARA_REMOVE_BREAKS:
    case IDC_PARA_BLANK_LINES:
    case IDC_PARA_INDENTED:
    case IDC_PARA_UNLIMITED:
    case IDC_PARA_PUNCT_ENDS:
        return code == BN_CLICKED;
    case IDC_PARA_INDENT_SPACES:
    case IDC_PARA_MAX_CHARS:
        return code == EN_CHANGE;
    case IDC_PARA_SENT_SPACES:
        return code == CBN_SELCHANGE;
    }
    return false;
}

void D_opt_para::read_prefs()
{
    Cleaning_prefs& p = prefs();
    blank_lines_separate = p.get_int_setting(setting::para_blank_lines_separate_paras);
    indented_makes_new = p.get_int_setting(setting::para_indented_makes_new_para);
    indent_spaces = int_to_string(p.get_int_setting(setting::para_num_indent_spaces_for_new_para));
    max_chars = int_to_string(p.get_int_setting(setting::para_max_chars_on_para_line));
    unlimited = max_chars == "0" ? 1 : 0;
    punct_mark_ends = p.get_int_setting(setting::para_punct_mark_ends_para);
    remove_line_breaks = p.get_int_setting(setting::para_remove_line_breaks);
    spaces_between_sents = p.get_int_setting(setting::para_spaces_between_sents);
}

void D_opt_para::update_controls()
{
    update_data(true);
    for (int id : {IDC_PARA_ARROW, IDC_PARA_PUNCT_ENDS, IDC_PARA_LEAVE_TEXT, IDC_PARA_SENT_SPACES,
                   IDC_PARA_SPACES_TEXT})
        enable(id, true);
    for (int id = IDC_PARA_BLANK_LINES; id <= IDC_PARA_INDENT_TEXT2; ++id) enable(id, true);
    if (!indented_makes_new) enable(IDC_PARA_INDENT_SPACES, false);
    if (unlimited) enable(IDC_PARA_MAX_CHARS, false);
    if (punct_mark_ends)
        for (int id : {IDC_PARA_LEAVE_TEXT, IDC_PARA_SENT_SPACES, IDC_PARA_SPACES_TEXT})
            enable(id, false);
    if (!remove_line_breaks) {
        for (int id : {IDC_PARA_ARROW, IDC_PARA_PUNCT_ENDS, IDC_PARA_LEAVE_TEXT,
                       IDC_PARA_SENT_SPACES, IDC_PARA_SPACES_TEXT})
            enable(id, false);
        for (int id = IDC_PARA_BLANK_LINES; id <= IDC_PARA_INDENT_TEXT2; ++id) enable(id, false);
    }
}

bool D_opt_para::validate()
{
    update_data(true);
    if (indent_spaces.empty() && enabled(IDC_PARA_INDENT_SPACES))
        return refuse("Please enter the number of spaces needed to assume a line is the beginning "
                      "of a new paragraph.",
                      IDC_PARA_INDENT_SPACES);
    if (max_chars.empty() && enabled(IDC_PARA_MAX_CHARS))
        return refuse("Please enter the maximum number of characters on a paragraph line.",
                      IDC_PARA_MAX_CHARS);
    return true;
}

void D_opt_para::write_prefs()
{
    update_data(true);
    Cleaning_prefs& p = prefs();
    p.set_int_setting(setting::para_blank_lines_separate_paras, blank_lines_separate);
    p.set_int_setting(setting::para_indented_makes_new_para, indented_makes_new);
    p.set_int_setting(setting::para_num_indent_spaces_for_new_para, field_number(indent_spaces));
    p.set_int_setting(setting::para_max_chars_on_para_line, unlimited ? 0 : field_number(max_chars));
    p.set_int_setting(setting::para_punct_mark_ends_para, punct_mark_ends);
    p.set_int_setting(setting::para_remove_line_breaks, remove_line_breaks);
    p.set_int_setting(setting::para_spaces_between_sents, spaces_between_sents);
}
