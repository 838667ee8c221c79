#include "FileUtils.h"

#include "Exception.h"
#include "SjisText.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Messages name the path in the program's code page; file names on this system are UTF-8.
std::string WithPath(const char* utf8Format, const std::string& path) {
    std::string message = SjisText(utf8Format);
    const std::size_t at = message.find("%s");
    if (at != std::string::npos) message.replace(at, 2, SjisText(path));
    return message;
}

EFOpenError OpenError(const std::string& path) {
    return EFOpenError(WithPath("ファイル %s は開けません", path));
}

EFCreateError CreateError(const std::string& path) {
    return EFCreateError(WithPath("ファイル %s を作成できません", path));
}

// Programs on Linux lock files in two ways that do not see each other, fcntl record locks and
// flock; both are taken, without waiting. The fcntl lock is an open-file-description lock, so it
// belongs to this descriptor alone and ends when it is closed. Only a conflict means that another
// program holds the file; a file system that has no locks (or a kernel without
// open-file-description locks) says so with another error, and then the file is used without that
// lock.
bool HeldByAnother(int error) {
    return error == EAGAIN || error == EACCES || error == EWOULDBLOCK;
}

bool LockWhole(int fd, bool exclusive) {
    struct flock range {};
    range.l_type = exclusive ? F_WRLCK : F_RDLCK;
    range.l_whence = SEEK_SET;
    if (fcntl(fd, F_OFD_SETLK, &range) != 0 && HeldByAnother(errno)) return false;
    return flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0 || !HeldByAnother(errno);
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new file beside `path` that no one else uses; the umask applies to its mode.
int CreateTemporary(const std::string& path, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// A link is followed: the file it names is replaced, and the link stays.
std::string ResolvedTarget(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string resolved(real);
    free(real);
    return resolved;
}

// Writes `bytes` over the file itself, for a folder where no temporary file may be created. A write
// that stops short leaves the file with what was written.
void WriteInPlace(int fd, const std::string& bytes) {
    if (ftruncate(fd, 0) != 0 || !WriteAll(fd, bytes) || fsync(fd) != 0)
        throw EWriteError(SjisText("ストリームへの書き込みエラー"));
}

} // namespace

std::string ExtractFilePath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReadFileShared(const std::string& path) {
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0 || !LockWhole(file.get(), false)) throw OpenError(path);
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(file.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw OpenError(path);
        if (n == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

void WriteFileReplacing(const std::string& path, const std::string& bytes) {
    const std::string target = ResolvedTarget(path);
    // The file being replaced is held alone meanwhile; one that cannot be opened for writing
    // (a folder, a read-only file) or that another program holds cannot be created anew.
    FileDescriptor held(open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (held.get() < 0 && errno != ENOENT) throw CreateError(path);
    struct stat old {};
    if (held.get() >= 0 && (!LockWhole(held.get(), true) || fstat(held.get(), &old) != 0))
        throw CreateError(path);

    std::string tempName;
    FileDescriptor temp(CreateTemporary(target, tempName));
    if (temp.get() < 0) {
        // A file the user may write in a folder where they may not create one: write it in place,
        // as a plain save does, rather than refuse to save at all.
        if ((errno == EACCES || errno == EPERM) && held.get() >= 0)
            return WriteInPlace(held.get(), bytes);
        throw CreateError(path);
    }

    bool written = WriteAll(temp.get(), bytes);
    if (written && held.get() >= 0) written = fchmod(temp.get(), old.st_mode & 07777) == 0;
    written = written && fsync(temp.get()) == 0;
    written = close(temp.release()) == 0 && written;
    if (!written) {
        unlink(tempName.c_str());
        throw EWriteError(SjisText("ストリームへの書き込みエラー"));
    }
    if (rename(tempName.c_str(), target.c_str()) != 0) {
        unlink(tempName.c_str());
        throw CreateError(path);
    }
}

bool ForceDirectories(const std::string& dir) {
    struct stat st {};
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t end = dir.find_last_not_of('/');
    if (end == std::string::npos) return false;
    const std::size_t cut = dir.rfind('/', end);
    if (cut != std::string::npos && cut > 0 && !ForceDirectories(dir.substr(0, cut))) return false;
    // Another program may make the same folder meanwhile: that is as good.
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
