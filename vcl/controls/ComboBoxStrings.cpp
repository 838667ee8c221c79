#include "ComboBoxStrings.h"

#include "Cp932.h"
#include "Exception.h"
#include "SjisText.h"

#include <QComboBox>
#include <QSignalBlocker>

// The entries are kept as the very bytes given beside what the list shows, so an entry that is no
// valid code page 932 text still compares and saves unchanged.
int TComboBoxStrings::Count() const {
    return combo_->count();
}

std::string TComboBoxStrings::Get(int index) const {
    return combo_->itemData(index).toByteArray().toStdString();
}

namespace {

// Changing the entries leaves the box's text as it is.
template <class F> void KeepingText(QComboBox* combo, F change) {
    const QString text = combo->currentText();
    const QSignalBlocker quiet(combo);
    change();
    combo->setEditText(text);
}

} // namespace

void TComboBoxStrings::Insert(int index, const std::string& entry) {
    if (combo_->count() >= combo_->maxCount())
        throw EStringListError(SjisText("行を挿入できません"));
    KeepingText(combo_, [&] {
        combo_->insertItem(index, Cp932ToScreen(entry),
                           QByteArray(entry.data(), static_cast<qsizetype>(entry.size())));
    });
}

void TComboBoxStrings::Delete(int index) {
    KeepingText(combo_, [&] { combo_->removeItem(index); });
}

void TComboBoxStrings::Clear() {
    KeepingText(combo_, [&] { combo_->clear(); });
}
