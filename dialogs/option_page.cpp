#include "dialogs/option_page.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

#include "base/diagnostics.h"
#include "base/diagnostics_win32.h"
#include "dialogs/D_preset_comms.h"
#include "framework/controls.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"

int field_number(const std::string& text)
{
    return field_number_too_large(text) ? INT_MAX : string_to_int(text);
}

bool field_number_too_large(const std::string& text)
{
    const std::size_t start = std::min(text.find_first_not_of(" \t"), text.size());
    std::size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    int value = 0;
    return end > start && !parse_int(std::string_view(text).substr(start, end - start), value);
}

std::string number_range_message(const char* name, const Setting_field& field)
{
    const std::string range = field.max == INT32_MAX
                                  ? "of " + std::to_string(field.min) + " or more"
                                  : "from " + std::to_string(field.min) + " to " +
                                        std::to_string(field.max);
    return std::string("The ") + name + " must be a number " + range + ".";
}

int range_digits(const Setting_field& field)
{
    return static_cast<int>(std::to_string(field.max).size());
}

namespace page_control {
namespace {
constexpr Int_setting no_int{nullptr, nullptr};
constexpr Text_setting no_text{nullptr, nullptr, nullptr, 0};
}  // namespace

Page_control check(int id, Int_setting setting, Enable_rule enabled)
{
    return {id, Control_kind::check, setting, no_text, 0, nullptr, nullptr, enabled};
}
Page_control number(int id, Int_setting setting, const char* name, const char* empty_message,
                    Enable_rule enabled)
{
    return {id, Control_kind::number, setting, no_text, 0, name, empty_message, enabled};
}
Page_control choice(int id, Int_setting setting, int first_value, Enable_rule enabled)
{
    return {id, Control_kind::choice, setting, no_text, first_value, nullptr, nullptr, enabled};
}
Page_control text(int id, Text_setting setting, Enable_rule enabled)
{
    return {id, Control_kind::text, no_int, setting, 0, nullptr, nullptr, enabled};
}
Page_control radio(int id, Int_setting setting, int value, Enable_rule enabled)
{
    return {id, Control_kind::radio, setting, no_text, value, nullptr, nullptr, enabled};
}
Page_control zero_check(int id, int field, Enable_rule enabled)
{
    return {id, Control_kind::zero_check, no_int, no_text, field, nullptr, nullptr, enabled};
}
Page_control text_check(int id, int field, Enable_rule enabled)
{
    return {id, Control_kind::text_check, no_int, no_text, field, nullptr, nullptr, enabled};
}
Page_control label(int id, Enable_rule enabled)
{
    return {id, Control_kind::label, no_int, no_text, 0, nullptr, nullptr, enabled};
}
}  // namespace page_control

Option_page::Option_page(int template_id, const char* caption, Preset_state& presets,
                         Cleaning_settings& values, std::vector<Page_control> controls)
    : Property_page(template_id, caption),
      preset_combo(presets),
      presets(presets),
      values(values),
      controls_(std::move(controls))
{
}

const Page_control* Option_page::control(int id) const
{
    for (const Page_control& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

bool Option_page::overridden(int field) const
{
    for (const Page_control& c : controls_) {
        if (c.value != field) continue;
        if (c.kind == Control_kind::zero_check && checked(c.id)) return true;
        if (c.kind == Control_kind::text_check && !checked(c.id)) return true;
    }
    return false;
}

std::string Option_page::field_text(int id) const { return window_text(item(id)); }

void Option_page::set_checked(int id, bool on)
{
    SendMessageA(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Option_page::exchange(Data_exchange& dx)
{
    // Only ever loads: storing goes through store_values, which checks before it changes values.
    if (dx.saving()) return;
    for (const Page_control& c : controls_) {
        switch (c.kind) {
        case Control_kind::check: {
            int on = c.integer.of(values) != 0;
            dx.check(c.id, on);
            break;
        }
        case Control_kind::number: {
            std::string shown = int_to_string(c.integer.of(values));
            dx.text(c.id, shown);
            break;
        }
        case Control_kind::choice: {
            // A stored value that no entry shows leaves the list without a selection.
            int index = c.integer.of(values) - c.value;
            dx.combo_index(c.id, index);
            break;
        }
        case Control_kind::text: dx.text(c.id, c.text.of(values)); break;
        case Control_kind::radio: set_checked(c.id, c.integer.of(values) == c.value); break;
        case Control_kind::zero_check:
            set_checked(c.id, control(c.value)->integer.of(values) == 0);
            break;
        case Control_kind::text_check:
            set_checked(c.id, !control(c.value)->text.of(values).empty());
            break;
        case Control_kind::label: break;
        }
    }
}

void Option_page::show_values() { update_data(false); }

bool Option_page::store_values()
{
    Cleaning_settings stored = values;
    for (const Page_control& c : controls_) {
        switch (c.kind) {
        case Control_kind::check: c.integer.of(stored) = checked(c.id) ? 1 : 0; break;
        case Control_kind::number:
            if (!check_number(c, false)) return false;
            c.integer.of(stored) = overridden(c.id) ? 0 : field_number(field_text(c.id));
            break;
        case Control_kind::choice: {
            const LRESULT index = SendMessageA(item(c.id), CB_GETCURSEL, 0, 0);
            // No entry chosen keeps the stored value.
            if (index != CB_ERR) c.integer.of(stored) = c.value + static_cast<int>(index);
            break;
        }
        case Control_kind::text:
            c.text.of(stored) = overridden(c.id) ? std::string() : field_text(c.id);
            break;
        case Control_kind::radio:
            if (checked(c.id)) c.integer.of(stored) = c.value;
            break;
        case Control_kind::zero_check:
        case Control_kind::text_check:
        case Control_kind::label: break;
        }
    }
    // The page's own messages come before the range's, which would say less.
    if (!check(stored)) return false;
    for (const Page_control& c : controls_)
        if (c.kind == Control_kind::number && !check_number(c, true)) return false;
    values = stored;
    return true;
}

bool Option_page::check_number(const Page_control& c, bool range)
{
    if (!is_control_enabled(hwnd(), c.id)) return true;
    const std::string text = field_text(c.id);
    if (text.empty()) return refuse(c.empty_message, c.id);
    const Setting_field* field = find_setting(c.integer.name);
    if (!field) INTERNAL_ERROR();
    // The field takes digits only from the keyboard; a paste or a program can put in the rest.
    int number = 0;
    const bool digits = text.find_first_not_of("0123456789") == std::string::npos;
    const bool fits = digits && parse_int(text, number);
    if (!digits || (range && !(fits && field->in_range(number))))
        return refuse(number_range_message(c.name, *field), c.id);
    return true;
}

void Option_page::update_controls()
{
    for (const Page_control& c : controls_)
        if (c.enabled) {
            if (c.enabled(*this))
                enable_control(hwnd(), c.id);
            else
                disable_control(hwnd(), c.id);
        }
}

bool Option_page::is_setting_change(int id, int code) const
{
    const Page_control* c = control(id);
    if (!c) return false;
    switch (c->kind) {
    case Control_kind::check:
    case Control_kind::radio:
    case Control_kind::zero_check:
    case Control_kind::text_check: return code == BN_CLICKED;
    case Control_kind::number:
    case Control_kind::text: return code == EN_CHANGE;
    case Control_kind::choice: return code == CBN_SELCHANGE;
    case Control_kind::label: return false;
    }
    return false;
}

void Option_page::select_radio(const Page_control& chosen)
{
    for (const Page_control& c : controls_)
        if (c.kind == Control_kind::radio && c.integer.member == chosen.integer.member)
            set_checked(c.id, c.id == chosen.id);
}

bool Option_page::refuse(const std::string& message, int field)
{
    error_box(message);
    Data_exchange dx(hwnd(), true);
    dx.fail(field);
    return false;
}

void Option_page::fill_sentence_spaces(int id)
{
    for (const char* entry : {"1", "2"})
        SendMessageA(item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

bool Option_page::on_init()
{
    for (const Page_control& c : controls_)
        if (c.kind == Control_kind::number)
            if (const Setting_field* field = find_setting(c.integer.name))
                SendMessageA(item(c.id), EM_LIMITTEXT, range_digits(*field), 0);
    update_controls();
    preset_combo.attach(item(IDC_PRESET_COMBO));
    preset_combo.init(true, true, true, nullptr);
    return true;
}

bool Option_page::on_set_active()
{
    preset_combo.select_string(presets.pending_preset_name);
    show_values();
    update_controls();
    return true;
}

bool Option_page::on_kill_active() { return store_values(); }

bool Option_page::on_command(int id, int code, HWND control)
{
    if (id == IDC_PRESET_COMBO) {
        if (code == CBN_SELCHANGE) OnSelchangePreset();
        return true;
    }
    if (id == IDC_PRESETS_BUTTON) {
        if (code == BN_CLICKED) OnPresets();
        return true;
    }
    if (is_setting_change(id, code)) {
        const Page_control& c = *this->control(id);
        // Radio buttons of a page check themselves only when the page says so.
        if (c.kind == Control_kind::radio) select_radio(c);
        // Data the page moves itself is not an edit.
        if (!exchanging()) OnSettingChanged();
        return true;
    }
    return Property_page::on_command(id, code, control);
}

void Option_page::OnSettingChanged()
{
    if (preset_combo.get_selected_name() != no_preset_name) {
        preset_combo.select_string(no_preset_name);
        presets.pending_preset_name = preset_combo.get_selected_name();
    }
    update_controls();
}

void Option_page::OnSelchangePreset()
{
    presets.pending_preset_name = preset_combo.get_selected_name();
    if (presets.pending_preset_name == no_preset_name) return;
    Cleaning_prefs& store = *presets.cleaning_prefs;
    store.copy_prefs(store.get_preset(presets.pending_preset_name), values);
    show_values();
    update_controls();
}

void Option_page::OnPresets()
{
    if (!store_values()) return;
    D_preset_comms dialog(presets, values);
    // Owned by the sheet, which stays disabled while the dialog is up.
    if (dialog.run_modal(sheet() && sheet()->hwnd() ? sheet()->hwnd() : nullptr) == IDOK)
        preset_combo.init(true, true, true, nullptr);
}
