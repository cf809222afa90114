#include "dialogs/D_opt_para.h"

#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
using namespace page_control;

bool joining(const Option_page& p) { return p.checked(IDC_PARA_REMOVE_BREAKS); }
bool sentences_joined(const Option_page& p) { return joining(p) && !p.checked(IDC_PARA_PUNCT_ENDS); }
bool indent_counts(const Option_page& p) { return joining(p) && p.checked(IDC_PARA_INDENTED); }
// The engine wraps at the width whether or not it joins lines.
bool width_limited(const Option_page& p) { return !p.checked(IDC_PARA_UNLIMITED); }

std::vector<Page_control> controls()
{
    using namespace setting;
    return {
        check(IDC_PARA_REMOVE_BREAKS, para_remove_line_breaks),
        label(IDC_PARA_ARROW, joining),
        check(IDC_PARA_PUNCT_ENDS, para_punct_mark_ends_para, joining),
        label(IDC_PARA_LEAVE_TEXT, sentences_joined),
        choice(IDC_PARA_SENT_SPACES, para_spaces_between_sents, 1, sentences_joined),
        label(IDC_PARA_SPACES_TEXT, sentences_joined),
        check(IDC_PARA_BLANK_LINES, para_blank_lines_separate_paras, joining),
        check(IDC_PARA_INDENTED, para_indented_makes_new_para, joining),
        number(IDC_PARA_INDENT_SPACES, para_num_indent_spaces_for_new_para,
               "number of spaces that begins a new paragraph",
               "Please enter the number of spaces needed to assume a line is the beginning of a "
               "new paragraph.",
               indent_counts),
        label(IDC_PARA_INDENT_TEXT1, joining),
        label(IDC_PARA_INDENT_TEXT2, joining),
        number(IDC_PARA_MAX_CHARS, para_max_chars_on_para_line,
               "maximum number of characters on a paragraph line",
               "Please enter the maximum number of characters on a paragraph line.", width_limited),
        zero_check(IDC_PARA_UNLIMITED, IDC_PARA_MAX_CHARS),
    };
}
}  // namespace

D_opt_para::D_opt_para(Preset_state& presets, Cleaning_settings& values)
    : Option_page(IDD_OPT_PARA, "Paragraph", presets, values, controls())
{
}

int D_opt_para::help_context() const { return help_paragraph_options; }

void D_opt_para::prepare_controls()
{
    fill_sentence_spaces(IDC_PARA_SENT_SPACES);
}
