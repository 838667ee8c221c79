#pragma once
// Faults on disk that a test puts in place for a while and takes away again: acting as a user who
// is not root (for whom a read-only file is read-only), and a file-size limit (a disk with no room
// for more than so many bytes of a file). Each lasts for the lifetime of its object.

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// The process acts as "nobody" (every thread of it). Without root nothing changes: the user is
// already one that permissions bind.
class AsOtherUser {
  public:
    AsOtherUser() {
        if (geteuid() != 0) return;
        switched_ = setegid(65534) == 0 && seteuid(65534) == 0;
    }
    ~AsOtherUser() {
        if (!switched_) return;
        (void)!seteuid(0);
        (void)!setegid(0);
    }
    AsOtherUser(const AsOtherUser&) = delete;
    AsOtherUser& operator=(const AsOtherUser&) = delete;

  private:
    bool switched_ = false;
};

// Writes past `bytes` of a file fail with EFBIG instead of ending the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ignored_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, ignored_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit before_{};
    void (*ignored_)(int) = SIG_DFL;
};
