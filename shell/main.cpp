// The program's entry: start the shell, load the start window, run the loop.
#include <windows.h>

#include "shell/definitions.h"
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    shell::InitShell();
    shell::StartSkinEngine();
    shell::LoadStartWindow(shell::ids::kStartWindow);
    shell::RunMessageLoop();
    shell::Exit(true);
    return 0;
}
