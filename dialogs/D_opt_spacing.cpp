#include "dialogs/D_opt_spacing.h"

#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
using namespace page_control;

bool indenting(const Option_page& p) { return p.checked(IDC_SPAC_ADJUST_INDENT); }
bool spacing(const Option_page& p) { return p.checked(IDC_SPAC_ADJUST_SPACING); }
bool sentences(const Option_page& p) { return p.checked(IDC_SPAC_SENT_SPACING); }

// The empty fields are refused in this order: tab stops first.
std::vector<Page_control> controls()
{
    using namespace setting;
    return {
        number(IDC_SPAC_TAB_STOPS, spac_tab_stops, "tab stops",
               "Please enter a value for the tab stops."),
        check(IDC_SPAC_ADJUST_INDENT, spac_adjust_para_indent),
        number(IDC_SPAC_INDENT, spac_num_spaces_to_indent, "paragraph indentation",
               "Please enter the paragraph indentation.", indenting),
        label(IDC_SPAC_ARROW, indenting),
        check(IDC_SPAC_ADJUST_SPACING, spac_adjust_para_spacing),
        number(IDC_SPAC_LINES, spac_lines_between_paras,
               "number of lines in between paragraphs",
               "Please enter the number of lines to place in between paragraphs.", spacing),
        check(IDC_SPAC_EXTRA_SPACES, spac_rem_extra_spaces_between_words),
        check(IDC_SPAC_SENT_SPACING, spac_clean_up_sent_spacing),
        choice(IDC_SPAC_SENT_SPACES, spac_num_spaces_between_sents, 1, sentences),
        label(IDC_SPAC_SENT_LABEL, sentences),
        label(IDC_SPAC_SENT_NOTE, sentences),
    };
}
}  // namespace

D_opt_spacing::D_opt_spacing(Preset_state& presets, Cleaning_settings& values)
    : Option_page(IDD_OPT_SPACING, "Spacing", presets, values, controls())
{
}

int D_opt_spacing::help_context() const { return help_spacing_options; }

void D_opt_spacing::prepare_controls()
{
    fill_sentence_spaces(IDC_SPAC_SENT_SPACES);
}
