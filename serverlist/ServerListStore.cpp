#include "ServerListStore.h"

#include "Exception.h"
#include "FileUtils.h"
#include "SjisText.h"

TServerListStore TServerListStore::BesideExecutable(const std::string& exeName) {
    return TServerListStore(ExtractFilePath(exeName) + "Kelvane.LST");
}

void TServerListStore::Load(TStrings& entries) const {
    if (FileExists(path_)) entries.LoadFromFile(path_);
}

bool TServerListStore::Add(TStrings& entries, const std::string& text) const {
    if (entries.IndexOf(text) >= 0) return false;
    if (text.size() >= MaxEntryBytes)
        throw Exception(SjisText("サーバー名が長すぎます。4096 バイト未満で入力してください"));
    entries.Add(text);
    entries.SaveToFile(path_); // on failure the entry stays on screen; the next change saves again
    return true;
}

bool TServerListStore::Delete(TStrings& entries, const std::string& text) const {
    const int at = entries.IndexOf(text);
    if (at < 0) return false;
    entries.Delete(at);
    entries.SaveToFile(path_);
    return true;
}
