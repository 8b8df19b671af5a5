#pragma once
// Failures carry the system's own message text (UTF-8).
#include <stdexcept>
#include <string>

namespace telvara {

class TelvaraError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A read, write, positioning or open failure on a file; the message names the file.
class IoError : public TelvaraError {
public:
    using TelvaraError::TelvaraError;
};

// A text that is not a number where one is required
// ("'%s' は浮動小数点数ではありません").
class ConvertError : public TelvaraError {
public:
    using TelvaraError::TelvaraError;
};

// A typed character that code page 932 cannot hold.
class EncodingError : public TelvaraError {
public:
    using TelvaraError::TelvaraError;
};

} // namespace telvara
