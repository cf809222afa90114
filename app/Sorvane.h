// The application object: start-up in its fixed order, the application's commands, and
// shut-down writing the program settings back. It owns the program's context and its pieces.
#pragma once

#include <memory>
#include <string>

#include "app/Program_context.h"
#include "framework/application.h"

class CMainFrame;
class CSorvaneDoc;
class CSorvaneEditView;
class Cleaning_prefs;
class D_about;
class Help_window;

// Where and how the program starts: the program takes the defaults, the tests their own
// registry key and directory, without the splash, the shown window or the start dialogs.
struct Start_options {
    std::string company = "Meradon";
    // Empty: the directory of the program's own file.
    std::string program_directory;
    bool splash = true;
    bool show_window = true;
    bool start_dialogs = true;
};

class CSorvaneApp : public Application {
public:
    explicit CSorvaneApp(Start_options options = Start_options());
    ~CSorvaneApp() override;

    // Start-up; false ends the program without the loop.
    bool start() override;
    // After the main window has gone: the program settings written back, the pieces released,
    // the log closed. The framework's finish() runs it.
    int ExitInstance(int loop_result);

    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;
    void OnAppAbout();
    void OnHelpGettingStarted();
    // "Cleaning Options...": the option sheet over the working copy.
    void OnOptCleaning();
    // The program's help window at context (0: the first topic).
    void open_help(int context);

    Program_context& context() { return context_; }
    CSorvaneDoc* document() const { return document_.get(); }
    CSorvaneEditView* view() const { return view_.get(); }
    CMainFrame* frame() const { return frame_.get(); }
    Cleaning_prefs* store() const { return store_.get(); }

protected:
    int finish(int loop_result) override { return ExitInstance(loop_result); }
    // The document start-up makes.
    virtual std::unique_ptr<CSorvaneDoc> make_document();

private:
    void close_splash();
    // "Welcome!" and "Auto Clean is Enabled", as the settings allow.
    void show_start_dialogs();
    // What the pieces hold of the program settings, gathered for shut-down.
    void collect_settings();

    Start_options options_;
    Program_context context_;
    std::unique_ptr<Cleaning_prefs> store_;
    std::unique_ptr<CSorvaneDoc> document_;
    std::unique_ptr<CSorvaneEditView> view_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<D_about> splash_;
    std::unique_ptr<Help_window> help_;
};

// The directory of the program's own file, without a trailing backslash.
std::string module_directory();
