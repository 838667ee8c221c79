#pragma once
// A fresh folder for a test's files, removed with everything in it afterwards.

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane.XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    // The names in the folder, to see that nothing was left behind.
    std::size_t EntryCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(path_))
            ++n;
        return n;
    }

    // Every file and folder below the folder with the bytes of each file ("/" for a folder), to
    // see that a failed write changed nothing and left nothing behind.
    std::map<std::string, std::string> Contents() const;

  private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::map<std::string, std::string> TempDir::Contents() const {
    std::map<std::string, std::string> contents;
    for (const auto& e : std::filesystem::recursive_directory_iterator(path_)) {
        const std::string name = e.path().string().substr(path_.size());
        contents[name] = e.is_directory() ? "/" : ReadBytes(e.path().string());
    }
    return contents;
}
