#pragma once
// What the Kelvane executable must carry as its version data, and helpers that make copies of the
// executable with that data changed or removed (through objcopy, as a builder would).

#include "TempDir.h"

#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct VersionString {
    const char* key;
    const char* value; // UTF-8
};

// The strings of the translation 041103A4, in stored order.
inline const std::vector<VersionString> KelvaneStrings = {
    {"CompanyName", ""},
    {"FileDescription", ""},
    {"FileVersion", "3.2.2.2"},
    {"InternalName", ""},
    {"LegalCopyright", "Copyright (C) 2026 Kelvane developers"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", ""},
    {"ProductName", "Kelvane"},
    {"ProductVersion", "1.0.0.0"},
    {"Comments", ""},
};

// Runs objcopy with `args`; true when it succeeded.
inline bool Objcopy(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(KELVANE_OBJCOPY)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A copy of the built Kelvane executable in `dir`.
inline std::string CopyOfKelvane(const TempDir& dir, const std::string& name = "Kelvane") {
    const std::string copy = dir / name;
    std::filesystem::copy_file(KELVANE_EXE, copy);
    return copy;
}

// Replaces the version section of the executable at `path` with `block`.
inline bool ReplaceVersionBlock(const TempDir& dir, const std::string& path,
                                const std::string& block) {
    const std::string file = dir / "replacement.block";
    WriteBytes(file, block);
    return Objcopy({"--update-section", ".versioninfo=" + file, path});
}
