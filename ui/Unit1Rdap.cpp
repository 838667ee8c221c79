// The RDAP lookup: the run command's branch for an https:// server box or "rdap", the HTTPS
// client's events, and the refresh of IANA's bootstrap files.

#include "Application.h"
#include "FileUtils.h"
#include "RdapRender.h"
#include "SjisText.h"
#include "StandardFolders.h"
#include "Strings.h"
#include "Unit1.h"
#include "Utf8Text.h"

#include <chrono>
#include <cstdlib>

using namespace rdap;

namespace {

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool StartsWithNoCase(const std::string& text, const std::string& head) {
    return text.size() >= head.size() && SameText(text.substr(0, head.size()), head);
}

// A message of the program's own with "%s" standing for `detail` (Text).
std::string With(const char* utf8, const std::string& detail) {
    std::string message = SjisText(utf8);
    if (const std::size_t at = message.find("%s"); at != std::string::npos)
        message.replace(at, 2, detail);
    return message;
}

// What the bootstrap file was asked for, as the message names it.
std::string Key(const TRdapQuery& query) {
    switch (query.object) {
    case TRdapObject::Domain:
        return "." + query.domain.substr(query.domain.rfind('.') + 1);
    case TRdapObject::Ip:
        return query.address.ToString();
    case TRdapObject::Autnum:
        return "AS" + std::to_string(query.asn);
    default:
        return Utf8ToCp932(query.handle);
    }
}

void AppendRdapLine(TMemoLines& lines, const TRdapLine& line) {
    switch (line.kind) {
    case TLineKind::Text:
        return lines.AddUtf8(line.text);
    case TLineKind::Received:
        return lines.Add(line.text);
    case TLineKind::NotJsonNote:
        return lines.Add(SjisText("※ 応答は JSON ではありません。受け取ったとおりに表示します。"));
    case TLineKind::NotRdapNote:
        return lines.Add(
            SjisText("※ 応答は RDAP のオブジェクトではありません。受け取ったとおりに表示します。"));
    case TLineKind::EmptyNote:
        return lines.Add(SjisText("※ 応答は空でした。"));
    }
}

} // namespace

// "https://..." names an RDAP server; "rdap" asks IANA's bootstrap files for one. Any other text
// is a whois server's name.
bool TKelvaneForm::RdapServerChosen() const {
    const std::string server = ServerList->Text();
    return StartsWithNoCase(server, "https://") || SameText(server, "rdap");
}

void TKelvaneForm::AbandonRdapLookup() {
    RdapClient->Cancel();
    PendingRdap.reset();
}

void TKelvaneForm::RdapLookup() {
    AbandonRdapLookup(); // a run command abandons the lookup under way
    const std::string typed = InputData->Text();
    const TRdapQuery query = ClassifyRdapQuery(Cp932ToUtf8(typed));
    if (query.problem == TQueryProblem::Empty)
        throw Exception(SjisText("RDAP で調べる検索データがありません"));
    if (query.problem == TQueryProblem::BadAddress)
        throw Exception(With("%s は IP アドレスとして正しくありません", typed));
    RdapJson = query.json;
    const std::string server = ServerList->Text();
    if (!SameText(server, "rdap")) return StartRdapQuery(Cp932ToUtf8(server), query);

    const auto kind = BootstrapKindFor(query);
    if (!kind)
        throw Exception(With("%s の RDAP サーバーは IANA の登録簿から決められません。サーバー欄に "
                             "https:// で始まる RDAP サーバーのアドレスを入れてください",
                             typed));
    const std::string base = RdapBootstrap->BaseUrl(*kind, query);
    const bool due = RdapBootstrap->NeedsCheck(*kind, Now());
    if (!base.empty()) {
        StartRdapQuery(base, query);
        if (due) RefreshBootstrap(*kind);
        return;
    }
    if (!due) throw Exception(With("%s の RDAP サーバーは IANA の登録簿にありません", Key(query)));
    // The copy at hand may be older than the registry: the lookup waits for today's.
    PendingRdap = query;
    Sb->SetSimpleText(SjisText("サーバーを検索中"));
    RefreshBootstrap(*kind);
}

void TKelvaneForm::StartRdapQuery(const std::string& baseUrl, const TRdapQuery& query) {
    RdapClient->Get(RdapUrl(baseUrl, query));
}

// A refresh of the same file under way serves; one of another file gives way.
void TKelvaneForm::RefreshBootstrap(TBootstrapKind kind) {
    if (BootstrapClient->Busy() && Refreshing == kind) return;
    Refreshing = kind;
    BootstrapClient->Get(RdapBootstrap->FetchUrl(kind), RdapBootstrap->FetchHeaders(kind));
}

// The lookup that waited for IANA's file goes on with whatever copy is now at hand. `failure`
// says why IANA gave none, when it did not.
void TKelvaneForm::ResumeRdapLookup(const std::string& failure) {
    if (!PendingRdap) return;
    const TRdapQuery query = *PendingRdap;
    PendingRdap.reset();
    const std::string base = RdapBootstrap->BaseUrl(*BootstrapKindFor(query), query);
    if (!base.empty()) return StartRdapQuery(base, query);
    Sb->SetSimpleText("Disconneted");
    std::string message = With("%s の RDAP サーバーは IANA の登録簿にありません", Key(query));
    if (!failure.empty()) message += With(" (登録簿を更新できません: %s)", failure);
    throw Exception(message);
}

void TKelvaneForm::RdapClientLookup(TComponent*) {
    static const std::string searching = SjisText("サーバーを検索中");
    Sb->SetSimpleText(searching);
}

void TKelvaneForm::RdapClientConnect(TComponent*, const std::string& Address) {
    Sb->SetSimpleText("Connected " + Address);
}

void TKelvaneForm::RdapClientDone(TComponent*, const THttpResponse& Response) {
    const TRdapAnswer answer{Response.Status, Response.Reason, Response.Header("Retry-After"),
                             Response.Body, RdapJson};
    {
        const TMemoLines::TUpdate update(*Info->Lines);
        for (const TRdapLine& line : RenderRdapAnswer(answer))
            AppendRdapLine(*Info->Lines, line);
    }
    Sb->SetSimpleText("Disconneted");
}

// Nothing is shown as if it were an answer: the status ends the lookup, the error box says why.
void TKelvaneForm::RdapClientError(TComponent*, const THttpError& Error) {
    Sb->SetSimpleText("Disconneted");
    throw EHttpError(Error.Message);
}

void TKelvaneForm::BootstrapClientDone(TComponent*, const THttpResponse& Response) {
    RdapBootstrap->Answered(Refreshing, Response, Now());
    const bool fresh = Response.Status == 200 || Response.Status == 304;
    ResumeRdapLookup(fresh ? std::string() : "HTTP " + std::to_string(Response.Status));
}

void TKelvaneForm::BootstrapClientError(TComponent*, const THttpError& Error) {
    RdapBootstrap->Failed(Refreshing, Now());
    ResumeRdapLookup(Error.Message);
}

// The installed copy of IANA's files lies beside the executable's data; a newer one is cached
// for the user. KELVANE_RDAP_BOOTSTRAP_DIR puts files of one's own in their place (and nothing is
// fetched), KELVANE_TEST_CA_FILE adds a certificate authority to trust: both serve tests and
// checks against servers of one's own, never an ordinary run.
void TKelvaneForm::SetUpRdap() {
    std::string installed = ExtractFilePath(Application->ExeName()) + "../share/kelvane/rdap";
    std::string cache = UserCacheFolder();
    if (!cache.empty()) cache += "/rdap";
    if (const char* own = std::getenv("KELVANE_RDAP_BOOTSTRAP_DIR"); own && *own) {
        installed = own;
        cache.clear();
    }
    RdapBootstrap = std::make_unique<TRdapBootstrapStore>(installed, cache);
    if (const char* ca = std::getenv("KELVANE_TEST_CA_FILE"); ca && *ca && FileExists(ca)) {
        try {
            const std::string pem = ReadFileShared(ca);
            RdapClient->AddTrustedCertificates(pem);
            BootstrapClient->AddTrustedCertificates(pem);
        } catch (const Exception&) {
            // an unreadable file trusts nothing more
        }
    }
}
