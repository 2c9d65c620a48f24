// quorvel.exe: the window on the computer's own management service (WMI).
#include <windows.h>

#include "management/wmi/wmi_management.h"
#include "platform/com_apartment.h"
#include "window/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const quorvel::platform::ComApartment apartment;
    quorvel::WmiManagement management;
    return quorvel::win32::RunMainWindow(instance, management, showCommand);
}
