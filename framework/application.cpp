#include "framework/application.h"

#include <algorithm>

#include "base/diagnostics.h"
#include "framework/frame_window.h"

namespace {
Application* the_application = nullptr;
// The caret's blink timer: no reason to refresh the bars.
constexpr UINT caret_blink_timer_message = 0x0118;
}  // namespace

Application::Application()
{
    if (the_application) INTERNAL_ERROR();
    the_application = this;
}

Application::~Application()
{
    if (the_application == this) the_application = nullptr;
}

Application* Application::current() { return the_application; }

void Application::set_profile(const std::string& company, const std::string& application)
{
    profile_ = Profile(company, application);
}

int Application::run(const std::string& command_line, int show_command)
{
    command_line_ = command_line;
    show_command_ = show_command;
    if (!start()) return 0;
    return finish(message_loop());
}

void Application::show_help(int context)
{
    if (help_) help_(context);
}

void Application::add_modeless(HWND dialog)
{
    if (dialog && std::find(modeless_.begin(), modeless_.end(), dialog) == modeless_.end())
        modeless_.push_back(dialog);
}

void Application::remove_modeless(HWND dialog)
{
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

bool Application::pre_translate(MSG& msg)
{
    if (main_frame_ && main_frame_->help_mode_message(msg)) return true;
    for (HWND dialog : modeless_)
        if (IsDialogMessageW(dialog, &msg)) return true;
    return main_frame_ && main_frame_->translate_accelerator(msg);
}

int Application::message_loop()
{
    MSG msg{};
    bool idle_pending = true;
    for (;;) {
        if (idle_pending && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            on_idle();
            idle_pending = false;
        }
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) {
            trace("GetMessage failed: " + int_to_string(static_cast<int>(GetLastError())) + "\n");
            return -1;
        }
        if (!pre_translate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (msg.message != WM_PAINT && msg.message != caret_blink_timer_message)
            idle_pending = true;
    }
}

void Application::pause(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!pre_translate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

void Application::on_idle()
{
    if (main_frame_) main_frame_->on_idle();
}
