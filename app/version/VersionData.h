#pragma once
// The version data of an executable as the data file gives it: the fixed part's fields, one
// translation and its strings in stored order. Turning it into bytes is VersionBlockWriter's job.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TVersionData {
    std::array<std::uint16_t, 4> FileVersion{}; // 3.2.2.2 is {3, 2, 2, 2}
    std::array<std::uint16_t, 4> ProductVersion{};
    std::uint32_t FileFlagsMask = 0;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
    std::uint64_t FileDate = 0;
    std::uint16_t Language = 0;
    std::uint16_t CodePage = 0;
    // Keys and values in UTF-16, in the order they are stored.
    std::vector<std::pair<std::u16string, std::u16string>> Strings;
};
