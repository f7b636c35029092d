#pragma once

#include <stdexcept>
#include <string>

namespace tunx {

// The title of the message box that shows a run-time error no procedure traps.
inline constexpr const char* kRunTimeErrorTitle = "Run-time error";

// A run-time error of the program ("Overflow", "Type mismatch", "Division by zero", ...).
// Procedures that trap errors catch this type at their boundary and take their failure path.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(const std::string& description) : std::runtime_error(description) {}
    std::string description() const { return what(); }
};

inline constexpr const char* kOverflow = "Overflow";
inline constexpr const char* kTypeMismatch = "Type mismatch";
inline constexpr const char* kDivisionByZero = "Division by zero";
inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kInputPastEnd = "Input past end of file";
inline constexpr const char* kSubscriptOutOfRange = "Subscript out of range";
inline constexpr const char* kInvalidArgument = "Invalid procedure call or argument";

// Thrown when the program ends itself (a fatal link failure, the window being unloaded).
// It is not a RuntimeError: no procedure's error trap may swallow it.
struct ApplicationEnded {};

}  // namespace tunx
