#pragma once
// Writes version data as the bytes of a Windows version resource (VS_VERSIONINFO), the layout
// that the system's version calls read. Where the bytes go is the build's business.

#include "VersionData.h"

#include <string>

// Fails with std::length_error when the block would exceed the 65535 bytes its length field can
// count.
std::string WriteVersionBlock(const TVersionData& data);
