// "Preset Commands": saves the options sheet's settings as a new user preset or over an existing
// one, or removes a user preset. Every command reaches the store and the registry at once.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "dialogs/D_preset_combo_box.h"
#include "dialogs/preset_state.h"
#include "engine/cleaning_settings.h"

class D_preset_comms : public Dialog {
public:
    enum Command { none = 0, new_preset = 1, overwrite_preset = 2, remove_preset = 3 };

    // values: the settings that a save stores.
    D_preset_comms(Preset_state& presets, const Cleaning_settings& values);
    ~D_preset_comms() override;

    int help_context() const override;

    int command = none;

protected:
    bool on_init() override;
    void exchange(Data_exchange& dx) override;
    // Carries out the chosen command; the dialog stays open after a refusal or a "No". A new
    // name loses its blanks at either end and is compared with the presets without regard to
    // case, as the registry keeps it.
    void on_ok() override;
    bool on_command(int id, int code, HWND control) override;
    // A Yes/No question; returns IDYES or IDNO.
    virtual int ask(const std::string& text, const std::string& caption, UINT style);

private:
    // Checks the command's radio button and leaves only its input enabled.
    void choose(Command chosen);
    void save_new();
    // A user preset whose name differs from name at most in case, or empty.
    std::string user_preset_like(const std::string& name) const;

    Preset_state& presets;
    const Cleaning_settings& values;
    D_preset_combo_box overwrite_list;
    D_preset_combo_box remove_list;
    std::string new_name;
};
