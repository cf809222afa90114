// The Lists page: which list identifiers are recognised, and whether list items are laid out
// like paragraphs or indented to a fixed position with a fixed width.
#pragma once

#include <string>

#include "dialogs/Option_page.h"

class D_opt_lists : public Option_page {
public:
    explicit D_opt_lists(Preset_state& presets);

    void read_prefs() override;
    void update_controls() override;
    bool validate() override;
    void write_prefs() override;
    int help_context() const override;

    void OnSelectAll();
    void OnClearAll();
    void OnFormatParagraph();
    void OnFormatIndented();

    int adjust_indent = 0;     // 1046
    std::string custom_symbol; // 1040
    int custom = 0;            // 1039: "list-id custom" is not empty
    int dash = 0;              // 1036
    int letters = 0;           // 1034
    int numbers = 0;           // 1033
    int letter_o = 0;          // 1038
    int roman = 0;             // 1035
    int star = 0;              // 1037
    std::string max_length;    // 1048
    std::string indent;        // 1047
    // 0: like an ordinary paragraph (1050); 1: indented, fixed width (1051). Set by the radio
    // buttons' handlers, shown by update_controls.
    int format = 0;

protected:
    void prepare_controls() override;
    void exchange(Data_exchange& dx) override;
    bool on_command(int id, int code, HWND control) override;
    bool is_setting_change(int id, int code) const override;
};
