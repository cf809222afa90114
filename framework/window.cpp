#include "framework/window.h"

#include <commctrl.h>

#include "framework/guard.h"
#include "framework/strings.h"

namespace {
// SetWindowSubclass keys a subclass by procedure and id; one id is enough for us.
constexpr UINT_PTR subclass_id = 1;
}  // namespace

HINSTANCE module_instance() { return GetModuleHandleW(nullptr); }

Window::~Window()
{
    // Unbind before destroying, so no message reaches a half-destroyed object.
    HWND window = hwnd_;
    if (!window) return;
    detach();
    if (IsWindow(window)) DestroyWindow(window);
}

bool Window::register_class(const char* class_name, HICON icon, HBRUSH background, UINT style)
{
    const std::wstring name = widen(class_name);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(module_instance(), name.c_str(), &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = module_instance();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name.c_str();
    return RegisterClassExW(&wc) != 0;
}

bool Window::create(const char* class_name, const char* title, DWORD style, DWORD ex_style, int x,
                    int y, int width, int height, HWND parent, HMENU menu_or_id)
{
    HWND window = CreateWindowExW(ex_style, widen(class_name).c_str(),
                                  title ? widen(title).c_str() : nullptr, style, x, y, width, height, parent,
                                  menu_or_id, module_instance(), this);
    return window != nullptr && window == hwnd_;
}

bool Window::subclass(HWND window)
{
    if (!window || hwnd_) return false;
    if (!SetWindowSubclass(window, subclass_proc, subclass_id, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = window;
    subclassed_ = true;
    return true;
}

bool Window::create_control(const char* class_name, DWORD style, DWORD ex_style,
                            const RECT& rect, HWND parent, int id)
{
    HWND control = CreateWindowExW(ex_style, widen(class_name).c_str(), L"", style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   module_instance(), nullptr);
    if (!control) return false;
    if (!subclass(control)) {
        DestroyWindow(control);
        return false;
    }
    return true;
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) { return default_handling(msg, wp, lp); }

LRESULT Window::default_handling(UINT msg, WPARAM wp, LPARAM lp)
{
    if (subclassed_) return DefSubclassProc(hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::detach()
{
    if (!hwnd_) return;
    if (subclassed_)
        RemoveWindowSubclass(hwnd_, subclass_proc, subclass_id);
    else
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    subclassed_ = false;
}

LRESULT Window::dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_NCDESTROY) return handle(msg, wp, lp);
    LRESULT result = handle(msg, wp, lp);
    detach();
    return result;
}

LRESULT CALLBACK Window::window_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept
{
    return guarded<LRESULT>(0, [&]() -> LRESULT {
        Window* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (msg == WM_NCCREATE) {
            self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            if (self) {
                self->hwnd_ = window;
                SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            }
        }
        // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after unbinding get the default.
        if (!self) return DefWindowProcW(window, msg, wp, lp);
        return self->dispatch(msg, wp, lp);
    });
}

LRESULT CALLBACK Window::subclass_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR data) noexcept
{
    return guarded<LRESULT>(0, [&]() -> LRESULT {
        Window* self = reinterpret_cast<Window*>(data);
        if (!self || self->hwnd_ != window) return DefSubclassProc(window, msg, wp, lp);
        return self->dispatch(msg, wp, lp);
    });
}
