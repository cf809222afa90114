// The single-document model: one document, shown by one view that fills the frame's client
// area. Both are command targets, asked before the frame.
#pragma once

#include <windows.h>

#include <string>

#include "framework/command.h"
#include "framework/window.h"

class Document : public Command_target {
public:
    // The name shown in the frame's title until the document has a file.
    const std::string& title() const { return title_; }
    void set_title(const std::string& title) { title_ = title; }

private:
    std::string title_ = "Untitled";
};

class View : public Window, public Command_target {
public:
    // Creates the view's window as a child of the frame.
    virtual bool create_view(HWND parent, int id) = 0;
    // A notification the view's control sent to the frame (WM_COMMAND code), handed back.
    virtual void on_reflected_notification(int code) { (void)code; }
};
