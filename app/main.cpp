#include <windows.h>

#include "app/Sorvane.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int show_command)
{
    CSorvaneApp app;
    return app.run(command_line ? command_line : "", show_command);
}
