// Property sheets on the platform's own comctl32 sheet: pages created when first shown, a page
// may refuse to be left, OK asks only the visible page, Cancel, Escape and the close box ask none.
// Pages move data with exchange(dx) like dialogs.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/dialog.h"

class Property_sheet;

// A page's window exists from its first display (hwnd() is null before).
class Property_page : public Dialog_window {
public:
    Property_page(int template_id, std::string caption)
        : template_id_(template_id), caption_(std::move(caption))
    {
    }

    Property_sheet* sheet() const { return sheet_; }

protected:
    // First display, before the members are pushed into the controls: fill lists, set limits.
    virtual void prepare_controls() {}
    // First display: after the members have been pushed into the controls.
    virtual bool on_init() { return true; }
    // The page becomes visible; false would refuse it.
    virtual bool on_set_active() { return true; }
    // The page is being left (another tab, or OK); false keeps it visible and the sheet open.
    virtual bool on_kill_active() { return update_data(true); }
    // Every created page when the sheet closes with OK.
    virtual void on_apply() {}
    virtual bool on_command(int id, int code, HWND control);

private:
    friend class Property_sheet;
    static INT_PTR CALLBACK page_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) override;
    INT_PTR notify(const NMHDR& header);

    int template_id_;
    std::string caption_;
    Property_sheet* sheet_ = nullptr;
};

class Property_sheet {
public:
    explicit Property_sheet(std::string caption) : caption_(std::move(caption)) {}
    virtual ~Property_sheet() = default;
    Property_sheet(const Property_sheet&) = delete;
    Property_sheet& operator=(const Property_sheet&) = delete;

    // Pages are shown in the order added; the sheet does not own them.
    void add_page(Property_page& page);
    // Runs the sheet modally over owner (disabled meanwhile), opening on the first page.
    // IDOK when it closed with OK, IDCANCEL otherwise, -1 when it could not be created.
    INT_PTR run_modal(HWND owner);

    // Null unless running.
    HWND hwnd() const { return hwnd_; }
    const std::string& caption() const { return caption_; }

    // The standard ids of the sheet's buttons.
    static constexpr int apply_button = 0x3021;

protected:
    // Once the sheet window and its buttons exist, before the first page is initialised.
    virtual bool on_init() { return true; }

private:
    friend class Property_page;
    // Called by the first page to be initialised: the sheet's window is its parent.
    void attach(HWND sheet);
    // F1 on the sheet's own controls (tabs, buttons) reaches the sheet, which the platform
    // leaves unanswered: the current page answers it.
    static LRESULT CALLBACK sheet_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR self) noexcept;
    void on_help();
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up change pages: Wine's modal
    // sheet leaves them to the dialog manager, so they are handed to the sheet's own message.
    static LRESULT CALLBACK page_keys(int code, WPARAM wp, LPARAM lp) noexcept;

    std::string caption_;
    std::vector<Property_page*> pages_;
    HWND hwnd_ = nullptr;
    bool applied_ = false;
};
