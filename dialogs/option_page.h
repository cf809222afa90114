// What the five pages of "Cleaning Options" share. Each page edits the sheet's own copy of the
// settings, carries the "Current Preset:" selector and the "Presets..." button, turns the
// selector to "(none)" on any edit the user makes, and stores its fields whenever it is left.
// A page declares its controls once, in a table: the control, the setting it holds, how, and
// when it is enabled; showing, change detection, the checks and storing come from the table.
#pragma once

#include <string>
#include <vector>

#include "dialogs/D_preset_combo_box.h"
#include "dialogs/preset_state.h"
#include "engine/cleaning_settings.h"
#include "framework/property_sheet.h"

class Option_page;
struct Setting_field;

// Whether a control is enabled, from the states of the page's other controls.
using Enable_rule = bool (*)(const Option_page& page);

enum class Control_kind {
    check,       // a check box holding a flag
    number,      // a digits-only field holding a count in its setting's range, checked while enabled
    choice,      // a drop-down list whose entry k means the value `value` + k
    text,        // a field holding a text setting
    radio,       // one of a group of radio buttons: checked, the setting holds `value`
    zero_check,  // "Unlimited": while checked, the number field `value` stores 0
    text_check,  // "Custom symbol:": while unchecked, the text field `value` stores ""
    label,       // no setting of its own, only enabled and disabled
};

struct Page_control {
    int id;
    Control_kind kind;
    Int_setting integer;
    Text_setting text;
    int value;
    // number: the field as the page labels it ("tab stops"), for the message of a bad number.
    const char* name;
    // number: the message of an empty field.
    const char* empty_message;
    // nullptr: always enabled.
    Enable_rule enabled;
};

namespace page_control {
Page_control check(int id, Int_setting setting, Enable_rule enabled = nullptr);
Page_control number(int id, Int_setting setting, const char* name, const char* empty_message,
                    Enable_rule enabled = nullptr);
Page_control choice(int id, Int_setting setting, int first_value, Enable_rule enabled = nullptr);
Page_control text(int id, Text_setting setting, Enable_rule enabled = nullptr);
Page_control radio(int id, Int_setting setting, int value, Enable_rule enabled = nullptr);
Page_control zero_check(int id, int field, Enable_rule enabled = nullptr);
Page_control text_check(int id, int field, Enable_rule enabled = nullptr);
Page_control label(int id, Enable_rule enabled);
}  // namespace page_control

class Option_page : public Property_page {
public:
    // values: the sheet's copy of the settings, which every page edits.
    Option_page(int template_id, const char* caption, Preset_state& presets,
                Cleaning_settings& values, std::vector<Page_control> controls);

    // The controls from the values.
    void show_values();
    // The values from the controls, after the checks (enabled number fields not empty and
    // digits only, the page's own checks, then each enabled number within its setting's range):
    // the first failure is shown, its field focused, and false returned with the values unchanged.
    bool store_values();
    // Each control enabled or not by its rule.
    void update_controls();

    bool checked(int id) const { return is_checked(id); }
    // The sheet's settings as the pages have stored them so far.
    const Cleaning_settings& edited() const { return values; }

    void OnSettingChanged();
    void OnSelchangePreset();
    void OnPresets();

    D_preset_combo_box preset_combo;

protected:
    bool on_init() override;
    bool on_set_active() override;
    bool on_kill_active() override;
    bool on_command(int id, int code, HWND control) override;
    // Loads the controls from the values; storing goes through store_values.
    void exchange(Data_exchange& dx) override;
    // The page's own checks beyond the table's, on the values about to be stored.
    virtual bool check(const Cleaning_settings&) { return true; }

    // Shows message in the error box and moves the focus to field; returns false.
    bool refuse(const std::string& message, int field);
    std::string field_text(int id) const;
    void set_checked(int id, bool on);
    // The "spaces between sentences" list of two pages: its entries 1 and 2.
    void fill_sentence_spaces(int id);

    Preset_state& presets;
    Cleaning_settings& values;

private:
    const Page_control* control(int id) const;
    // Whether notification code of control id is a change to one of the page's settings.
    bool is_setting_change(int id, int code) const;
    void select_radio(const Page_control& chosen);
    // Whether a zero_check or text_check governs field and holds its setting at 0 or "".
    bool overridden(int field) const;
    // Refuses an enabled number field that is empty, holds more than digits or, when range is
    // set, a number outside its setting's range.
    bool check_number(const Page_control& c, bool range);

    std::vector<Page_control> controls_;
};

// The number at the start of a field's text, as the settings take it (0 when none, INT_MAX
// when it is beyond what a setting holds).
int field_number(const std::string& text);
// Whether the number at the start of text is beyond what a setting can hold.
bool field_number_too_large(const std::string& text);
// "The tab stops must be a number from 0 to 999.": field's name and its setting's range.
std::string number_range_message(const char* name, const Setting_field& field);
// The most digits the range's largest number has: what a number field needs to hold.
int range_digits(const Setting_field& field);
