#pragma once
// The IP helper's declarations in the order they need: its socket-address
// calls and the 64-bit interface table appear only after the socket headers.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
