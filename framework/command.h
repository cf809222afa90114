// Commands: one id serves the menu item, the toolbar button and the accelerator. A target that
// handles an id says so in command_state, which is also the one place its enabled and checked
// state is decided; on_command runs only for the first target in the route that handles the id,
// and only while that state is enabled.
#pragma once

struct Command_state {
    bool enabled = true;
    bool checked = false;
};

class Command_target {
public:
    virtual ~Command_target() = default;
    // Returns whether this target handles id; when it does it may narrow state.
    virtual bool command_state(int id, Command_state& state)
    {
        (void)id;
        (void)state;
        return false;
    }
    virtual void on_command(int id) { (void)id; }
};

// The standard help commands: Help Topics, context help (Shift+F1: help on the next thing
// clicked), help on the current task (F1, and a dialog's Help button) and the default help.
// The frame window handles them while the application has help.
constexpr int help_finder_command = 0xE143;
constexpr int context_help_command = 0xE145;
constexpr int help_command = 0xE146;
constexpr int default_help_command = 0xE147;
