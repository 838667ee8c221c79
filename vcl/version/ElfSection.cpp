#include "ElfSection.h"

#include "OSError.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The parts of the ELF layout used here (offsets in bytes, 32-bit file / 64-bit file):
//   file header:     e_ident[16] ("\x7F" "ELF", class 1/2 = 32/64 bits, data 1/2 = little/big
//                    endian), e_shoff at 32/40, e_shentsize at 46/58, e_shnum at 48/60,
//                    e_shstrndx at 50/62; header size 52/64.
//   section header:  sh_name at 0 (4 bytes, offset into the names section), sh_type at 4,
//                    sh_offset at 16/24, sh_size at 20/32, sh_link at 24/40; entry size 40/64.
// With 65280 sections or more the file header holds 0 for the count and 0xFFFF for the names
// section; the real numbers are section 0's sh_size and sh_link.

namespace {

constexpr std::uint32_t SHT_NOBITS = 8; // a section that takes no room in the file
constexpr std::uint16_t SHN_XINDEX = 0xFFFF;
constexpr char Magic[] = {0x7F, 'E', 'L', 'F'};

[[noreturn]] void BadFormat() {
    throw EOSError(ERROR_BAD_EXE_FORMAT);
}

// The open file; every read lies within it or is a format fault.
class File {
  public:
    // Non-blocking, so that a pipe without a writer cannot hold the program.
    explicit File(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
        if (fd_ < 0) throw EOSError(Win32ErrorFromErrno(errno));
        try {
            size_ = RegularFileSize();
        } catch (...) {
            close(fd_);
            throw;
        }
    }
    ~File() { close(fd_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    std::string Read(std::uint64_t offset, std::uint64_t count) const {
        if (offset > size_ || count > size_ - offset) BadFormat();
        std::string bytes(count, '\0');
        for (std::uint64_t done = 0; done < count;) {
            errno = 0;
            const ssize_t n =
                pread(fd_, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            // A file that shrank since it was opened ends early without an error number.
            if (n <= 0) throw EOSError(Win32ErrorFromErrno(n < 0 ? errno : 0));
            done += static_cast<std::uint64_t>(n);
        }
        return bytes;
    }

  private:
    std::uint64_t RegularFileSize() const {
        struct stat st {};
        if (fstat(fd_, &st) != 0) throw EOSError(Win32ErrorFromErrno(errno));
        if (S_ISDIR(st.st_mode)) throw EOSError(Win32ErrorFromErrno(EISDIR));
        if (!S_ISREG(st.st_mode)) BadFormat();
        return static_cast<std::uint64_t>(st.st_size);
    }

    int fd_;
    std::uint64_t size_ = 0;
};

// Numbers in the file's byte order.
class Fields {
  public:
    Fields(bool bigEndian, bool wide) : big_(bigEndian), wide_(wide) {}
    bool Wide() const { return wide_; }

    std::uint64_t Get(std::string_view bytes, std::size_t at, std::size_t size) const {
        std::uint64_t n = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const auto b = static_cast<unsigned char>(bytes[at + (big_ ? i : size - 1 - i)]);
            n = n << 8 | b;
        }
        return n;
    }
    // A field that is 4 bytes in a 32-bit file and 8 in a 64-bit one.
    std::uint64_t Address(std::string_view bytes, std::size_t at32, std::size_t at64) const {
        return wide_ ? Get(bytes, at64, 8) : Get(bytes, at32, 4);
    }

  private:
    bool big_;
    bool wide_;
};

struct Section {
    std::uint32_t name;
    std::uint32_t type;
    std::uint64_t offset;
    std::uint64_t size;
    std::uint32_t link;
};

Section SectionAt(const Fields& f, std::string_view entry) {
    return {static_cast<std::uint32_t>(f.Get(entry, 0, 4)),
            static_cast<std::uint32_t>(f.Get(entry, 4, 4)), f.Address(entry, 16, 24),
            f.Address(entry, 20, 32),
            static_cast<std::uint32_t>(f.Get(entry, f.Wide() ? 40 : 24, 4))};
}

std::string Contents(const File& file, const Section& s) {
    if (s.type == SHT_NOBITS) BadFormat();
    return file.Read(s.offset, s.size);
}

// The name at `at` in the names section, which must end within the section.
std::string_view NameAt(std::string_view names, std::uint32_t at) {
    if (at >= names.size()) BadFormat();
    const auto end = names.find('\0', at);
    if (end == std::string_view::npos) BadFormat();
    return names.substr(at, end - at);
}

} // namespace

std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name) {
    const File file(path);
    const std::string ident = file.Read(0, 16);
    if (std::memcmp(ident.data(), Magic, sizeof Magic) != 0 || (ident[4] != 1 && ident[4] != 2) ||
        (ident[5] != 1 && ident[5] != 2))
        BadFormat();
    const Fields f(ident[5] == 2, ident[4] == 2);
    const std::string header = file.Read(0, f.Wide() ? 64 : 52);
    const std::uint64_t tableAt = f.Address(header, 32, 40);
    const std::uint64_t entrySize = f.Get(header, f.Wide() ? 58 : 46, 2);
    std::uint64_t count = f.Get(header, f.Wide() ? 60 : 48, 2);
    std::uint64_t namesIndex = f.Get(header, f.Wide() ? 62 : 50, 2);
    if (tableAt == 0) return std::nullopt;
    if (entrySize < (f.Wide() ? 64u : 40u)) BadFormat();

    const Section first = SectionAt(f, file.Read(tableAt, entrySize));
    if (count == 0) count = first.size;
    if (namesIndex == SHN_XINDEX) namesIndex = first.link;
    if (namesIndex == 0) return std::nullopt; // no names, so no section of this name
    if (namesIndex >= count) BadFormat();
    if (count > UINT64_MAX / entrySize) BadFormat();
    const std::string table = file.Read(tableAt, count * entrySize);
    auto entry = [&](std::uint64_t i) {
        return SectionAt(f, std::string_view(table).substr(i * entrySize, entrySize));
    };

    const std::string names = Contents(file, entry(namesIndex));
    for (std::uint64_t i = 1; i < count; ++i) {
        const Section s = entry(i);
        if (NameAt(names, s.name) == name) return Contents(file, s);
    }
    return std::nullopt;
}
