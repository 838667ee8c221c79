#pragma once
// The entries of a combo box's drop-down list, as a string list.

#include "Strings.h"

class QComboBox;

class TComboBoxStrings : public TStrings {
  public:
    explicit TComboBoxStrings(QComboBox* combo) : combo_(combo) {}

    int Count() const override;
    std::string Get(int index) const override;
    void Insert(int index, const std::string& entry) override;
    void Delete(int index) override;
    void Clear() override;

  private:
    QComboBox* combo_;
};
