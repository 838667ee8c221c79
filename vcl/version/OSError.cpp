#include "OSError.h"

#include "SjisText.h"

#include <cerrno>

EOSError::EOSError(int code) : Exception(Win32ErrorMessage(code)), code_(code) {}

// What a system error means to someone who reads a file, said with the number Windows gives the
// same failure:
//   ENOENT                  2  ERROR_FILE_NOT_FOUND
//   ENOTDIR                 3  ERROR_PATH_NOT_FOUND        a folder of the path is a file
//   EMFILE, ENFILE          4  ERROR_TOO_MANY_OPEN_FILES
//   EACCES, EPERM, EISDIR   5  ERROR_ACCESS_DENIED         Windows opens no folder as a file either
//   ENOMEM                  8  ERROR_NOT_ENOUGH_MEMORY
//   EINVAL                 87  ERROR_INVALID_PARAMETER
//   ENAMETOOLONG          206  ERROR_FILENAME_EXCED_RANGE
//   EFBIG, EOVERFLOW      223  ERROR_FILE_TOO_LARGE
//   EIO                  1117  ERROR_IO_DEVICE
//   ELOOP                1921  ERROR_CANT_RESOLVE_FILENAME a loop of symbolic links
//   anything else          30  ERROR_READ_FAULT
// The readers add two of their own: ERROR_BAD_EXE_FORMAT (193) for a file that is no well-formed
// executable, ERROR_INVALID_DATA (13) for version data that breaks its layout.
int Win32ErrorFromErrno(int err) {
    switch (err) {
    case 0:
        return 0;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EFBIG:
    case EOVERFLOW:
        return ERROR_FILE_TOO_LARGE;
    case EIO:
        return ERROR_IO_DEVICE;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    default:
        return ERROR_READ_FAULT;
    }
}

std::string Win32ErrorText(int code) {
    const char* text;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        text = "指定されたファイルが見つかりません";
        break;
    case ERROR_PATH_NOT_FOUND:
        text = "指定されたパスが見つかりません";
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        text = "開いているファイルが多すぎます";
        break;
    case ERROR_ACCESS_DENIED:
        text = "アクセスが拒否されました";
        break;
    case ERROR_NOT_ENOUGH_MEMORY:
        text = "メモリが不足しています";
        break;
    case ERROR_INVALID_DATA:
        text = "データが正しくありません";
        break;
    case ERROR_READ_FAULT:
        text = "ファイルを読み取れません";
        break;
    case ERROR_INVALID_PARAMETER:
        text = "パラメーターが正しくありません";
        break;
    case ERROR_BAD_EXE_FORMAT:
        text = "実行ファイルの形式が正しくありません";
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        text = "ファイル名が長すぎます";
        break;
    case ERROR_FILE_TOO_LARGE:
        text = "ファイルが大きすぎます";
        break;
    case ERROR_IO_DEVICE:
        text = "デバイスの入出力エラーです";
        break;
    case ERROR_CANT_RESOLVE_FILENAME:
        text = "ファイル名を解決できません";
        break;
    default:
        text = "不明なエラーです";
        break;
    }
    return SjisText(text);
}

std::string Win32ErrorMessage(int code) {
    if (code == 0) return SjisText("Win32 API 呼び出しに失敗しました");
    return SjisText("Win32 エラー。コード : ") + std::to_string(code) + ".\n" +
           Win32ErrorText(code);
}
