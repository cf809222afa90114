#include "dialogs/D_opt_misc.h"

#include <algorithm>

#include "base/diagnostics.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/cleaning_settings.h"

const std::array<int, 5> D_opt_misc::find_ids = {IDC_MISC_FIND_1, IDC_MISC_FIND_2, IDC_MISC_FIND_3,
                                                 IDC_MISC_FIND_4, IDC_MISC_FIND_5};
const std::array<int, 5> D_opt_misc::replace_ids = {IDC_MISC_REPLACE_1, IDC_MISC_REPLACE_2,
                                                    IDC_MISC_REPLACE_3, IDC_MISC_REPLACE_4,
                                                    IDC_MISC_REPLACE_5};

D_opt_misc::D_opt_misc(Preset_state& presets) : Option_page(IDD_OPT_MISC, "Replace", presets)
{
    read_prefs();
}

int D_opt_misc::help_context() const { return help_replace_options; }

void D_opt_misc::prepare_controls()
{
    // In the order of the setting's values.
    for (const char* entry : {"Replace tabs with spaces", "Replace spaces with tabs",
                              "Replace tabs with commas", "Replace commas with tabs",
                              "No replacement"})
        SendMessageA(item(IDC_MISC_TAB_REPLACE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

void D_opt_misc::exchange(Data_exchange& dx)
{
    dx.check(IDC_MISC_REPLY_MARKS, remove_reply_marks);
    dx.check(IDC_MISC_CASE, case_sensitive);
    for (std::size_t k = 0; k < find.size(); ++k) {
        dx.text(find_ids[k], find[k]);
        dx.text(replace_ids[k], replace[k]);
    }
    int index = tab_replace;
    dx.combo_index(IDC_MISC_TAB_REPLACE, index);
    // A stored value that no entry shows is kept as it is.
    if (dx.saving() && index >= 0) tab_replace = index;
}

bool D_opt_misc::is_setting_change(int id, int code) const
{
    if (id == IDC_MISC_REPLY_MARKS || id == IDC_MISC_CASE) return code == BN_CLICKED;
    if (id == IDC_MISC_TAB_REPLACE) return code == CBN_SELCHANGE;
    const bool field = std::find(find_ids.begin(), find_ids.end(), id) != find_ids.end() ||
                       std::find(replace_ids.begin(), replace_ids.end(), id) != replace_ids.end();
    return field && code == EN_CHANGE;
}

void D_opt_misc::read_prefs()
{
    Cleaning_prefs& p = prefs();
    remove_reply_marks = p.get_int_setting(setting::misc_remove_reply_marks);
    case_sensitive = p.get_int_setting(setting::misc_case_sensitive);
    for (std::size_t k = 0; k < find.size(); ++k) {
        find[k] = p.get_string_setting(setting::misc_find[k]);
        replace[k] = p.get_string_setting(setting::misc_replace[k]);
    }
    tab_replace = p.get_int_setting(setting::misc_tab_replace);
}

void D_opt_misc::update_controls() { update_data(true); }

bool D_opt_misc::validate()
{
    static const char* const ordinals[] = {"first", "second", "third", "fourth", "fifth"};
    update_data(true);
    for (std::size_t k = 0; k < find.size(); ++k) {
        if (find[k].empty() && !replace[k].empty()) {
            const std::string n = ordinals[k];
            return refuse("The " + n + " \"find\" entry is blank, but the " + n +
                              " \"replace\" entry has something in it.  Please enter some text "
                              "to find, or delete the text to replace.",
                          find_ids[k]);
        }
    }
    return true;
}

void D_opt_misc::write_prefs()
{
    update_data(true);
    Cleaning_prefs& p = prefs();
    p.set_int_setting(setting::misc_remove_reply_marks, remove_reply_marks);
    p.set_int_setting(setting::misc_case_sensitive, case_sensitive);
    for (std::size_t k = 0; k < find.size(); ++k) p.set_string_setting(setting::misc_find[k], find[k]);
    for (std::size_t k = 0; k < replace.size(); ++k)
        p.set_string_setting(setting::misc_replace[k], replace[k]);
    p.set_int_setting(setting::misc_tab_replace, tab_replace);
}
