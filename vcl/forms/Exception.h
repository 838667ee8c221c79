#pragma once
// The framework's exceptions: a Text message (code page 932 bytes) for the application error box.

#include <exception>
#include <string>

class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};

// A file could not be opened for reading.
class EFOpenError : public Exception {
  public:
    using Exception::Exception;
};

// A file could not be created for writing.
class EFCreateError : public Exception {
  public:
    using Exception::Exception;
};

// Fewer bytes were written than were given.
class EWriteError : public Exception {
  public:
    using Exception::Exception;
};

// A string list could take no more entries.
class EStringListError : public Exception {
  public:
    using Exception::Exception;
};
