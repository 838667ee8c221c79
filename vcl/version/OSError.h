#pragma once
// A failed call to the system, reported with a Windows error number and a Japanese text of our
// own, as this program's users know such errors: "Win32 エラー。コード : 5." LF
// "アクセスが拒否されました". Which number a system error (errno) becomes is decided here; the
// callers say what failed.

#include "Exception.h"

// The Windows numbers this framework reports.
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr int ERROR_ACCESS_DENIED = 5;
constexpr int ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr int ERROR_INVALID_DATA = 13;
constexpr int ERROR_READ_FAULT = 30;
constexpr int ERROR_INVALID_PARAMETER = 87;
constexpr int ERROR_BAD_EXE_FORMAT = 193;
constexpr int ERROR_FILENAME_EXCED_RANGE = 206;
constexpr int ERROR_FILE_TOO_LARGE = 223;
constexpr int ERROR_IO_DEVICE = 1117;
constexpr int ERROR_CANT_RESOLVE_FILENAME = 1921;

class EOSError : public Exception {
  public:
    // `code` 0 means the system gave no number.
    explicit EOSError(int code);
    int ErrorCode() const { return code_; }

  private:
    int code_;
};

// The Windows number for a system error (errno); 0 for 0.
int Win32ErrorFromErrno(int err);

// The text for a Windows number, without a final full stop.
std::string Win32ErrorText(int code);

// "Win32 エラー。コード : <code>." LF <text>; for code 0, "Win32 API 呼び出しに失敗しました" alone.
std::string Win32ErrorMessage(int code);
