#pragma once
// Reads one named section of an ELF file (32 or 64 bits, either byte order) from the file itself,
// through its section headers; it does not care what the section holds.

#include <optional>
#include <string>
#include <string_view>

// The section's bytes, or nullopt when the file has no section of that name (or no section
// headers at all). Fails with EOSError: the system's error for a file that cannot be opened or
// read (a folder gives ERROR_ACCESS_DENIED), ERROR_BAD_EXE_FORMAT when the file is no ELF file or
// its headers point outside it.
std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name);
