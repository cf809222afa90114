// The application object: start-up in its fixed order, the application's commands, and
// shut-down storing the current preset name. Also the process-wide values the program shares.
#pragma once

#include <memory>
#include <string>

#include "framework/application.h"

class CMainFrame;
class CSorvaneDoc;
class CSorvaneEditView;
class Cleaning_prefs;
class D_about;
class Help_window;

class CSorvaneApp : public Application {
public:
    CSorvaneApp();
    ~CSorvaneApp() override;

    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;
    void OnAppAbout();
    void OnHelpGettingStarted();
    // The program's help window at context (0: the first topic).
    void open_help(int context);

protected:
    bool start() override;
    int finish(int loop_result) override;

private:
    void close_splash();
    // "Welcome!" and "Auto Clean is Enabled", as the settings allow.
    void show_start_dialogs();

    std::unique_ptr<Cleaning_prefs> store;
    std::unique_ptr<CSorvaneDoc> document;
    std::unique_ptr<CSorvaneEditView> view;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<D_about> splash;
    std::unique_ptr<Help_window> help;
};

// The directory of the program's own file, without a trailing backslash.
extern std::string program_directory;
// Clipboard changes are processed only while this is 1; 0 around every modal dialog.
extern int monitoring_enabled;

// program_directory from the module's own path.
std::string module_directory();
