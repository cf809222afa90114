// The editor: the main window's client area is one multi-line EDIT control holding the text to
// clean. It carries the cleaning commands, the editor font, the Auto Clean switch and the
// abbreviation list that the engine consults; it is also the clipboard monitor.
#pragma once

#include <windows.h>

#include <string>

#include "engine/abbreviations.h"
#include "framework/edit_view.h"

class CSorvaneDoc;
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

    // The clipboard monitor (clipboard_monitor.cpp).
    void join_chain();
    void leave_chain();
    void on_draw_clipboard();
    void on_change_cb_chain(HWND removed, HWND after);
    // One Auto Clean run: the clipboard's text cleaned and put back.
    void perform_autoclean();
    static void CALLBACK autoclean_timer_proc(HWND window, UINT msg, UINT_PTR id, DWORD time) noexcept;
    // The editor holds only what an Auto Clean run put there (cleaned, or brought back by
    // Undo) in an untitled document.
    bool holds_only_autoclean_text() const;
    // Nothing of the user's would be lost by replacing the editor's text: no change since it
    // was opened, saved or made, or only Auto Clean's text.
    bool holds_no_user_work() const;
    // What the last run said in the status bar.
    const std::string& autoclean_status() const { return autoclean_status_; }

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
    // Numbers in the console traces: clipboard notifications, and Auto Clean runs.
    int clipboard_event_counter = 1000;
    int autoclean_counter = 0;

protected:
    void adjust_style(DWORD& style, DWORD& ex_style) override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void load_abbreviations();
    // The frame's document, when there is a frame.
    CSorvaneDoc* document() const;
    // Replaces the selection with cleaned lines as one undoable change, unless the result would
    // not fit the editor.
    bool replace_with(const std::string& cleaned, int start, int end);

    // The run's two ways: in the editor as "Clean Everything", or, when the editor holds the
    // user's work, on the clipboard alone. Each returns the status bar text.
    std::string read_clipboard_text(int n, std::string& text);
    // The text as Clean Everything would leave it in the editor.
    std::string cleaned_text(const std::string& text);
    // Puts cleaned on the clipboard as CF_TEXT, in place of everything it held.
    bool put_on_clipboard(const std::string& cleaned);
    std::string autoclean_in_editor(int n, const std::string& text);
    std::string autoclean_on_clipboard(int n, const std::string& text);
    void show_autoclean_status(const std::string& text);

    Program_context& context;
    // What the last run put on the clipboard, and the uncleaned text Undo brings back.
    std::string autoclean_put_;
    // A run has put text in the editor: the uncleaned text Undo brings back, and the cleaned.
    bool autoclean_text_shown_ = false;
    std::string autoclean_shown_source_;
    std::string autoclean_shown_cleaned_;
    std::string autoclean_status_;
};
