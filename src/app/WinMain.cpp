#include "app/Startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    return app::OrvaneMain(instance, commandLine, showCommand);
}
