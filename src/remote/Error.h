#pragma once

#include <stdexcept>
#include <string>

namespace tunx::remote {

// The standard error numbers of the remote interface, with their standard texts.
namespace error {
struct Code {
    int number;
    const char* text;
};
inline constexpr Code kCommand{-100, "Command error"};
inline constexpr Code kInvalidCharacter{-101, "Invalid character"};
inline constexpr Code kSyntax{-102, "Syntax error"};
inline constexpr Code kInvalidSeparator{-103, "Invalid separator"};
inline constexpr Code kDataType{-104, "Data type error"};
inline constexpr Code kParameterNotAllowed{-108, "Parameter not allowed"};
inline constexpr Code kMissingParameter{-109, "Missing parameter"};
inline constexpr Code kMnemonicTooLong{-112, "Program mnemonic too long"};
inline constexpr Code kUndefinedHeader{-113, "Undefined header"};
inline constexpr Code kHeaderSuffix{-114, "Header suffix out of range"};
inline constexpr Code kNumericData{-120, "Numeric data error"};
inline constexpr Code kInvalidSuffix{-131, "Invalid suffix"};
inline constexpr Code kSuffixNotAllowed{-138, "Suffix not allowed"};
inline constexpr Code kInvalidCharacterData{-141, "Invalid character data"};
inline constexpr Code kCharacterDataTooLong{-144, "Character data too long"};
inline constexpr Code kInvalidString{-151, "Invalid string data"};
inline constexpr Code kInvalidBlock{-161, "Invalid block data"};
inline constexpr Code kBlockNotAllowed{-168, "Block data not allowed"};
inline constexpr Code kExecution{-200, "Execution error"};
inline constexpr Code kSettingsConflict{-221, "Settings conflict"};
inline constexpr Code kOutOfRange{-222, "Data out of range"};
inline constexpr Code kTooMuchData{-223, "Too much data"};
inline constexpr Code kIllegalValue{-224, "Illegal parameter value"};
inline constexpr Code kStale{-230, "Data corrupt or stale"};
inline constexpr Code kQueueOverflow{-350, "Queue overflow"};
inline constexpr Code kQueryInterrupted{-410, "Query INTERRUPTED"};
}  // namespace error

// One entry of the error queue: the number and its text, as SYSTem:ERRor? answers it. The text
// is the standard one, followed by ";" and a detail when there is one; an execution error of the
// program itself carries the program's own message instead.
struct ErrorEntry {
    int number = 0;
    std::string text;
};

// A command that cannot be carried out; the engine puts it into the error queue.
class ScpiError : public std::runtime_error {
  public:
    explicit ScpiError(error::Code code, const std::string& detail = {})
        : std::runtime_error(detail.empty() ? std::string(code.text)
                                            : std::string(code.text) + ";" + detail),
          number_(code.number) {}

    int number() const { return number_; }
    ErrorEntry entry() const { return {number_, what()}; }

  private:
    int number_;
};

}  // namespace tunx::remote
