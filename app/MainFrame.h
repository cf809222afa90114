// The main window: toolbar with the preset selector, the editor, and a status bar with the
// Auto Clean pane. It restores and stores its placement and its bars' visibility, and carries
// the View menu's bar toggles and font sizes.
#pragma once

#include <windows.h>

#include "app/notification_icon.h"
#include "app/clean_and_paste.h"
#include "app/window_rect.h"
#include "framework/frame_window.h"
#include "framework/hotkey.h"
#include "framework/status_bar.h"
#include "dialogs/ToolbarPresets.h"

class Application;
class CSorvaneDoc;
class CSorvaneEditView;
struct Program_context;

class CMainFrame : public Frame_window, private Clean_and_paste_host {
public:
    // WM_HOTKEY's id for the Clean and Paste key.
    static constexpr int clean_paste_hotkey_id = 1;

    explicit CMainFrame(Program_context& context);
    ~CMainFrame() override;

    // The frame with its view; the document and the view are handed each other.
    bool create(Application& app, CSorvaneDoc& document, CSorvaneEditView& view);

    // Once, after the window is first shown: maximized state and editor font size.
    void restore_window_state();
    // The Auto Clean pane shows "AUTO" while on is non-zero.
    void set_auto_indicator(int on);
    // Queue empty: the bars follow the command states, the Auto Clean pane the switch.
    void on_idle() override;

    void OnViewToolbar();
    void OnViewStatusBar();
    void OnFontSize(int command);
    // "Other...": any size from 1 to 500 through the "Custom Font Size" dialog.
    void OnFontSizeOther();

    // Start-up: Clean and Paste with the stored delay, its key registered while it is on; false
    // when the system refuses the key (say_clean_paste_key_refused tells the user).
    bool start_clean_and_paste();
    void say_clean_paste_key_refused() const;
    // The icon's tooltip line: the key, or why there is none.
    std::string clean_paste_line() const;
    // "Clean and Paste...": the key, its switch and the delay; the key is released while the
    // dialog is open, so that it can be pressed in the dialog's box.
    void OnOptCleanPaste();
    Clean_and_paste& clean_and_paste() { return clean_and_paste_; }
    const Global_hotkey& clean_paste_key() const { return clean_paste_key_; }

    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;

    // File > Exit and the icon's Exit: the window closes for good, with the save question,
    // even where closing it would only hide it.
    void exit();
    Notification_icon& notification_icon() { return notification_icon_; }

    Status_bar status_bar;
    ToolbarPresets toolbar;
    int toolbar_visible = 1;
    int status_bar_visible = 1;

protected:
    bool on_create() override;
    // Help about a command, the preset list, the status bar or (for the rest) the editor.
    int help_context_for(int command, HWND window) override;
    // The document's save-if-modified step; false keeps the window open.
    bool can_close() override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
    // Keeps the window placement for shut-down, then destroys the window.
    void destroy_window() override;

private:
    void restore_window_rect();
    // Registers key while on (releases it otherwise); false, having said why, when the system
    // refuses it.
    bool use_clean_paste_key(bool on, Hotkey key, bool say);

    // Clean and Paste's host.
    std::string clean_text(std::string_view text) override;
    void report(const std::string& text) override;

    // WM_CLOSE: hides the window instead when the user keeps Sorvane in the notification area.
    bool hide_instead_of_closing();

    Program_context& context;
    Notification_icon notification_icon_;
    const UINT taskbar_created_ = Notify_icon::taskbar_created_message();
    bool exit_requested_ = false;
    CSorvaneEditView* editor = nullptr;
    // The Font Size item with the check mark.
    int checked_font_item_ = 0;
    Clean_and_paste clean_and_paste_{*this};
    Global_hotkey clean_paste_key_;
    Hotkey refused_key_;
    DWORD refused_error_ = 0;
};
