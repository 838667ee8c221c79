#include "SingleLineValidator.h"

namespace {

qsizetype FirstLineBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == u'\r' || text.at(i) == u'\n') return i;
    return -1;
}

} // namespace

// The field never holds a line break, so one can only lie in the text just inserted, which ends
// at the caret: what it brought after its first break goes, and what followed it stays.
QValidator::State SingleLineValidator::validate(QString& input, int& pos) const {
    const qsizetype cut = FirstLineBreak(input);
    if (cut < 0) return Acceptable;
    input = pos > cut ? input.left(cut) + input.mid(pos) : input.left(cut);
    if (const qsizetype again = FirstLineBreak(input); again >= 0) input.truncate(again);
    pos = static_cast<int>(std::min(cut, input.size()));
    return Acceptable;
}
