#pragma once
// Keeps line breaks out of a single-line text field, as the platform's single-line boxes do: text
// pasted with a CR or LF in it is cut at the first one, and the rest of the field stays. It checks
// nothing else.

#include <QValidator>

class SingleLineValidator : public QValidator {
  public:
    explicit SingleLineValidator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;
};
