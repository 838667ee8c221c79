#pragma once
// The framework's exception: a Text message (code page 932 bytes) for the application error box.

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

// Reading or writing a file failed.
class EFileError : public Exception {
  public:
    using Exception::Exception;
};
