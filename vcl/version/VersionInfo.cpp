#include "VersionInfo.h"

#include "Cp932.h"
#include "CustomVersionInfoLabel.h"
#include "ElfSection.h"

#include <QString>
#include <algorithm>
#include <cstdio>

TVersionInfo::~TVersionInfo() {
    const auto labels = labels_;
    labels_.clear();
    for (TCustomVersionInfoLabel* label : labels)
        label->SourceDestroyed();
}

void TVersionInfo::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    if (enabled)
        data_ = Read(fileName_); // a failure leaves everything as it was
    else
        data_.reset();
    enabled_ = enabled;
    Changed();
}

void TVersionInfo::SetFileName(const std::string& fileName) {
    if (fileName == fileName_) return;
    if (enabled_) {
        data_ = Read(fileName);
        fileName_ = fileName;
        Changed();
    } else {
        fileName_ = fileName;
    }
}

// The running program's own file is named by /proc/self/exe, which opens the very file that was
// started even when it has since been renamed.
std::optional<TVersionBlock> TVersionInfo::Read(const std::string& fileName) const {
    const auto section =
        ReadElfSection(fileName.empty() ? "/proc/self/exe" : fileName, VersionSectionName);
    if (!section) return std::nullopt;
    return TVersionBlock(*section);
}

std::string TVersionInfo::TranslationKey() const {
    if (!data_) return {};
    const auto translations = data_->Translations();
    if (translations.empty()) return {};
    char key[9];
    std::snprintf(key, sizeof key, "%.4X%.4X", translations.front().first,
                  translations.front().second);
    return key;
}

std::string TVersionInfo::StringValue(const std::string& key) const {
    const std::string table = TranslationKey();
    if (!enabled_ || table.empty()) return {};
    const QString path = Cp932ToScreen("\\StringFileInfo\\" + table + "\\" + key);
    const TVersionEntry* entry = data_->Find(path.toStdU16String());
    if (!entry) return {};
    std::u16string text = entry->Text();
    text.resize(std::min(text.size(), text.find(u'\0')));
    return ScreenToCp932(QString::fromStdU16String(text));
}

void TVersionInfo::Bind(TCustomVersionInfoLabel* label) {
    labels_.push_back(label);
}

void TVersionInfo::Unbind(TCustomVersionInfoLabel* label) {
    labels_.erase(std::remove(labels_.begin(), labels_.end(), label), labels_.end());
}

void TVersionInfo::Changed() {
    for (TCustomVersionInfoLabel* label : labels_)
        label->SourceChanged();
}
