#pragma once
// Reads the version data file: sections "[fixed]", "[translation]" and "[strings]" of
// "key = value" lines (see app/Kelvane.version). It knows nothing of the block's bytes.

#include "VersionData.h"

#include <stdexcept>
#include <string_view>

// A fault in the data file; the message starts with the line number where there is one
// ("line 7: ...").
class TVersionDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Every fixed field and both translation fields must be given once; strings may be none. An
// unknown section or key, a repeated key, a bad number or a value that is not UTF-8 is an error.
TVersionData ReadVersionData(std::string_view text);
