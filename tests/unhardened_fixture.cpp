// A program linked without Terminal Server awareness, for the check of the programs' headers.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
