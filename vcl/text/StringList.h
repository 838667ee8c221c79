#pragma once
// A string list held in memory.

#include "Strings.h"

#include <vector>

class TStringList : public TStrings {
  public:
    int Count() const override { return static_cast<int>(entries_.size()); }
    std::string Get(int index) const override {
        return entries_.at(static_cast<std::size_t>(index));
    }
    void Insert(int index, const std::string& entry) override {
        entries_.insert(entries_.begin() + index, entry);
    }
    void Delete(int index) override { entries_.erase(entries_.begin() + index); }
    void Clear() override { entries_.clear(); }

  private:
    std::vector<std::string> entries_;
};
