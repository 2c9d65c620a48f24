// Resource identifiers shared by quorvel.rc and the window code. Plain defines, so both the
// resource compiler and C++ read them.
#ifndef QUORVEL_WINDOW_RESOURCES_RESOURCE_H
#define QUORVEL_WINDOW_RESOURCES_RESOURCE_H

// The lowest icon group ID is the one Explorer shows for the program file.
#define IDI_QUORVEL 1

// The banner JPEG, raw bytes for the window's picture box to decode.
#define IDR_BANNER 101

#endif
