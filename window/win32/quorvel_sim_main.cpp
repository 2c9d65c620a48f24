// quorvel-sim.exe: the window on a simulated computer, the machine file named by QUORVEL_MACHINE
// or the built-in sample, for trying the program where changing real adapters is not wanted.
#include <windows.h>

#include "management/simulated/simulated_management.h"
#include "window/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const auto management = quorvel::SimulatedManagement::FromEnvironment();
    return quorvel::win32::RunMainWindow(instance, *management, showCommand);
}
