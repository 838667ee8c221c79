#pragma once
// Helpers that act as another program would: hold a file locked from a child process, or run a
// piece of work in a child process (for limits that must not touch the test itself).

#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

// Holds `path` locked for writing in a child process for its lifetime. `useFlock` picks flock over
// fcntl record locks: other programs use either.
class LockHolder {
  public:
    LockHolder(const std::string& path, bool useFlock) {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(release[1]);
            const int fd = open(path.c_str(), O_RDWR);
            bool locked = fd >= 0;
            if (locked && useFlock) {
                locked = flock(fd, LOCK_EX) == 0;
            } else if (locked) {
                struct flock range {};
                range.l_type = F_WRLCK;
                range.l_whence = SEEK_SET;
                locked = fcntl(fd, F_SETLK, &range) == 0;
            }
            const char status = locked ? 'y' : 'n';
            (void)!write(ready[1], &status, 1);
            char ignored;
            (void)!read(release[0], &ignored, 1);
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        releaseFd_ = release[1];
        char status = 'n';
        (void)!read(ready[0], &status, 1);
        close(ready[0]);
        locked_ = status == 'y';
    }
    ~LockHolder() {
        if (releaseFd_ >= 0) close(releaseFd_); // the child's read returns and it ends
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    bool Locked() const { return locked_; }

  private:
    pid_t pid_ = -1;
    int releaseFd_ = -1;
    bool locked_ = false;
};

// Runs `work` in a child process and returns its exit code (-1 if it did not exit normally).
inline int RunInChild(const std::function<int()>& work) {
    const pid_t pid = fork();
    if (pid == 0) _exit(work());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
