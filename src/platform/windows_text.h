// Text for Windows' wide-character calls; platform_windows.cpp holds it,
// for its own files and paths and for http_windows.cpp's addresses.
#pragma once

#include <string>

// UTF-8 to the UTF-16 the system's W calls take.
std::wstring wide(const std::string &text);
