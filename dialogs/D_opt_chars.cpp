#include "dialogs/D_opt_chars.h"

#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
std::vector<Page_control> controls()
{
    using namespace page_control;
    using namespace setting;
    return {
        check(IDC_CHAR_QUOTES, char_straight_quotes),
        check(IDC_CHAR_DASHES, char_plain_dashes),
        check(IDC_CHAR_ELLIPSIS, char_plain_ellipsis),
        check(IDC_CHAR_SPACES, char_plain_spaces),
        check(IDC_CHAR_INVISIBLE, char_remove_invisible),
    };
}
}  // namespace

D_opt_chars::D_opt_chars(Preset_state& presets, Cleaning_settings& values)
    : Option_page(IDD_OPT_CHARS, "Characters", presets, values, controls())
{
}

int D_opt_chars::help_context() const { return help_character_options; }
