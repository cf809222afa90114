// A C++ object bound to its window. Windows of our own classes are bound at WM_NCCREATE through
// GWLP_USERDATA (the object comes in lpCreateParams); controls of the system's classes (EDIT,
// COMBOBOX, the toolbar) are bound by subclassing them. Either way messages reach handle(),
// whose default is the window's own handling.
#pragma once

#include <windows.h>

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Registers a window class of ours (once per name) whose procedure binds objects.
    static bool register_class(const char* class_name, HICON icon, HBRUSH background,
                               UINT style = CS_DBLCLKS);
    // Creates a window of a class registered above, bound to this object.
    bool create(const char* class_name, const char* title, DWORD style, DWORD ex_style, int x,
                int y, int width, int height, HWND parent, HMENU menu_or_id);
    // Binds an existing window (a control of a system class) to this object by subclassing.
    bool subclass(HWND window);
    // Creates a child control of a system class and binds it; false (and no window) on failure.
    bool create_control(const char* class_name, DWORD style, DWORD ex_style, const RECT& rect,
                        HWND parent, int id);

protected:
    virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    // The handling the window would get without this object.
    LRESULT default_handling(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    static LRESULT CALLBACK subclass_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                                          UINT_PTR id, DWORD_PTR data) noexcept;
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void detach();

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
};

// The application instance whose resources windows and dialogs use.
HINSTANCE module_instance();
