#include <windows.h>

#include "app/Sorvane.h"
#include "framework/strings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show_command)
{
    CSorvaneApp app;
    // The ANSI command line would turn a letter outside the code page of a file name into "?".
    return app.run(command_line_utf8(), show_command);
}
