// quorvel-sim.exe: the window on a simulated computer, the machine file named by QUORVEL_MACHINE
// or the built-in sample, for trying the program where changing real adapters is not wanted.
#include <windows.h>

#include "management/simulated/simulated_management.h"
#include "window/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return quorvel::win32::RunProgram(
        instance, showCommand, [] { return quorvel::SimulatedManagement::FromEnvironment(); });
}
