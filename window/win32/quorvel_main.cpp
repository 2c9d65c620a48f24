// quorvel.exe: the window on the computer's own management service (WMI).
#include <windows.h>

#include <memory>

#include "management/wmi/wmi_management.h"
#include "window/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return quorvel::win32::RunProgram(instance, showCommand,
                                      [] { return std::make_unique<quorvel::WmiManagement>(); });
}
