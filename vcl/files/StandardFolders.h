#pragma once
// The folders the system gives a program for its files (XDG on Linux), as paths in the system's
// encoding.

#include <string>

// The folder for data the program may lose and fetch again (~/.cache/<program>), without a final
// "/"; it may not exist yet.
std::string UserCacheFolder();
