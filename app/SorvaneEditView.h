// The editor: the main window's client area is one multi-line EDIT control holding the text to
// clean. It carries the cleaning commands, the editor font and the abbreviation list that the
// engine consults; its window is the clipboard monitor's, which it owns and serves as host.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/clipboard_monitor.h"
#include "engine/abbreviations.h"
#include "framework/edit_view.h"

class CSorvaneDoc;
class Frame_window;
struct Program_context;

class CSorvaneEditView : public Edit_view, private Autoclean_host {
public:
    // 1024 x 1024 - 1 characters.
    static constexpr int text_limit = 1048575;

    explicit CSorvaneEditView(Program_context& context);
    ~CSorvaneEditView() override;

    bool create_view(HWND parent, int id) override;
    // The document whose text the editor holds; set when the frame is made.
    void attach_document(CSorvaneDoc& document) { document_ = &document; }

    // Once, after the main window is shown: the clipboard monitor with the stored Auto Clean
    // switch, then "abbr.dat".
    void initialize();
    // initialize() has run: until then the cleaning commands do nothing.
    bool initialized() const { return monitor_.gate().started(); }
    void set_font(int size);
    HFONT font() const { return font_; }
    int font_size() const { return font_size_; }
    // Tab stops from "spac-tab stops", so a tab spans what the engine assumes.
    void set_tab_stops_from_settings();
    const Abbreviations& abbreviations() const { return abbreviations_; }

    // The text as Clean Everything would leave it: split into the line list, cleaned, joined.
    // The one place the editor's three ways of cleaning (Clean Everything, Clean Selected,
    // Auto Clean) run the engine.
    std::string clean_text(std::string_view text) override;

    void clean_everything();
    void clean_selected();
    void select_all();
    void copy_selection();
    void cut_selection();
    bool autoclean() const { return monitor_.gate().autoclean(); }
    void set_autoclean(bool on) { monitor_.gate().set_autoclean(on); }
    void toggle_autoclean();
    // "Auto Clean is Enabled", with clipboard processing held off while it is up.
    void show_auto_clean_warning();

    // Start below 0 or an empty range counts as no selection.
    bool selection_not_empty() const;
    bool holds_text() const;

    Clipboard_monitor& monitor() { return monitor_; }
    const Clipboard_monitor& monitor() const { return monitor_; }

    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;
    void on_reflected_notification(int code) override;

protected:
    void adjust_style(DWORD& style, DWORD& ex_style) override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void load_abbreviations();
    // The frame that shows a clean of size bytes at work; null for a short one.
    Frame_window* busy_frame(std::size_t size) const;
    void show_command_done();
    // Replaces the characters from start to end (-1: the end) with cleaned as one undoable
    // change, unless the result would not fit the editor.
    bool replace_with(const std::string& cleaned, int start, int end);

    // The monitor's host.
    std::string editor_text() const override;
    std::size_t editor_limit() const override;
    bool holds_no_user_work() const override;
    std::string begin_showing(const std::string& text) override;
    void replace_all_undoably(const std::string& cleaned) override;
    void end_showing() override;
    void show_text(const std::string& text) override;
    void autoclean_shown(const std::string& source, const std::string& cleaned) override;
    void show_status(const std::string& text) override;

    Program_context& context;
    CSorvaneDoc* document_ = nullptr;
    HFONT font_ = nullptr;
    int font_size_ = 10;
    Abbreviations abbreviations_;
    Clipboard_monitor monitor_;
};
