#include "SocketError.h"

#include "SjisText.h"

#include <cerrno>
#include <netdb.h>

int WinSockErrorFromErrno(int err) {
    switch (err) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
        return 10024;
    case EWOULDBLOCK:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EMSGSIZE:
        return 10040;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case EPIPE:
        return 10058; // sending after the connection was shut down
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    default:
        return 10000 + err; // still a number the user can report
    }
}

int WinSockErrorFromResolver(int eaiError, int err) {
    switch (eaiError) {
    case EAI_NONAME:
        return 11001;
    case EAI_AGAIN:
        return 11002;
    case EAI_FAIL:
        return 11003;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return 11004;
    case EAI_MEMORY:
        return 10055;
    case EAI_SYSTEM:
        return WinSockErrorFromErrno(err);
    default:
        return 11003;
    }
}

std::string WinSockErrorText(int code) {
    const char* text;
    switch (code) {
    case 10013:
        text = "アクセスが拒否されました";
        break;
    case 10024:
        text = "開いているソケットが多すぎます";
        break;
    case 10048:
        text = "アドレスは既に使用中です";
        break;
    case 10049:
        text = "要求されたアドレスを割り当てられません";
        break;
    case 10050:
        text = "ネットワークがダウンしています";
        break;
    case 10051:
        text = "ネットワークに到達できません";
        break;
    case 10052:
        text = "ネットワークの接続がリセットされました";
        break;
    case 10053:
        text = "接続が中止されました";
        break;
    case 10054:
        text = "接続が相手からリセットされました";
        break;
    case 10055:
        text = "バッファー領域が不足しています";
        break;
    case 10057:
        text = "ソケットは接続されていません";
        break;
    case 10058:
        text = "接続が切断された後は送信できません";
        break;
    case 10060:
        text = "接続がタイムアウトしました";
        break;
    case 10061:
        text = "接続が拒否されました";
        break;
    case 10064:
        text = "ホストがダウンしています";
        break;
    case 10065:
        text = "ホストに到達できません";
        break;
    case 11001:
        text = "ホストが見つかりません";
        break;
    case 11002:
        text = "ホスト名を一時的に解決できません";
        break;
    case 11003:
        text = "名前解決で回復できないエラーが発生しました";
        break;
    case 11004:
        text = "ホスト名にアドレスがありません";
        break;
    default:
        text = "ソケットエラーが発生しました";
        break;
    }
    return SjisText(text);
}

std::string WinSockErrorMessage(int code, const std::string& api) {
    return "'" + api + "' " + SjisText("API でWindows ソケットエラー: ") + WinSockErrorText(code) +
           " (" + std::to_string(code) + ")";
}
