#include "dialogs/D_opt_misc.h"

#include "resources/help/help_contexts.h"
#include "resources/resource.h"

const std::array<int, 5> D_opt_misc::find_ids = {IDC_MISC_FIND_1, IDC_MISC_FIND_2, IDC_MISC_FIND_3,
                                                 IDC_MISC_FIND_4, IDC_MISC_FIND_5};
const std::array<int, 5> D_opt_misc::replace_ids = {IDC_MISC_REPLACE_1, IDC_MISC_REPLACE_2,
                                                    IDC_MISC_REPLACE_3, IDC_MISC_REPLACE_4,
                                                    IDC_MISC_REPLACE_5};

namespace {
std::vector<Page_control> controls()
{
    using namespace page_control;
    using namespace setting;
    std::vector<Page_control> list = {
        check(IDC_MISC_REPLY_MARKS, misc_remove_reply_marks),
        check(IDC_MISC_CASE, misc_case_sensitive),
        choice(IDC_MISC_TAB_REPLACE, misc_tab_replace, 0),
    };
    for (std::size_t k = 0; k < misc_find.size(); ++k) {
        list.push_back(text(D_opt_misc::find_ids[k], misc_find[k]));
        list.push_back(text(D_opt_misc::replace_ids[k], misc_replace[k]));
    }
    return list;
}
}  // namespace

D_opt_misc::D_opt_misc(Preset_state& presets, Cleaning_settings& values)
    : Option_page(IDD_OPT_MISC, "Replace", presets, values, controls())
{
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

bool D_opt_misc::check(const Cleaning_settings& stored)
{
    static const char* const ordinals[] = {"first", "second", "third", "fourth", "fifth"};
    for (std::size_t k = 0; k < stored.misc_find.size(); ++k) {
        if (stored.misc_find[k].empty() && !stored.misc_replace[k].empty()) {
            const std::string n = ordinals[k];
            return refuse("The " + n + " \"find\" entry is blank, but the " + n +
                              " \"replace\" entry has something in it.  Please enter some text "
                              "to find, or delete the text to replace.",
                          find_ids[k]);
        }
    }
    return true;
}
