// The editor: the main window's client area is one multi-line EDIT control holding the text to
// clean. It carries the cleaning commands, the editor font, the Auto Clean switch and the
// abbreviation list that the engine consults; it is also the clipboard monitor.
#pragma once

#include <windows.h>

#include <string>

#include "engine/abbreviations.h"
#include "framework/edit_view.h"

struct Program_context;

class CSorvaneEditView : public Edit_view {
public:
    // 1024 x 1024 - 1 characters.
    static constexpr int text_limit = 1048575;

    explicit CSorvaneEditView(Program_context& context);
    ~CSorvaneEditView() override;

    bool create_view(HWND parent, int id) override;

    // Once, after the main window is shown: Auto Clean switch, clipboard chain, "abbr.dat".
    void initialize();
    void set_font(int size);
    // Tab stops from "spac-tab stops", so a tab spans what the engine assumes.
    void set_tab_stops_from_settings();

    void clean_everything();
    void clean_selected();
    void select_all();
    void copy_selection();
    void cut_selection();
    void toggle_autoclean();
    // "Auto Clean is Enabled", with clipboard processing held off while it is up.
    void show_auto_clean_warning();

    // Start below 0 or an empty range counts as no selection.
    bool selection_not_empty() const;
    bool holds_text() const;

    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;
    void on_reflected_notification(int code) override;

    HFONT font = nullptr;
    Edit_view* edit = nullptr;
    int monitoring = 0;
    int font_size = 10;
    int autoclean = 0;
    Abbreviations abbreviations;
    HWND next_viewer = nullptr;
    int local_copy = 0;
    int in_chain = 0;

protected:
    void adjust_style(DWORD& style, DWORD& ex_style) override;

private:
    void load_abbreviations();
    // Replaces the selection with cleaned lines as one undoable change, unless the result would
    // not fit the editor.
    bool replace_with(const std::string& cleaned, int start, int end);

    Program_context& context;
};
