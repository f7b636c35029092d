#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tunx {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double x);

// Checked conversions: round half to even, then raise RuntimeError("Overflow") when the
// result does not fit (NaN and infinities never fit).
std::int16_t CInt(double x);
std::int32_t CLng(double x);
std::uint8_t CByte(double x);

// Single precision, as the program keeps many of its values.
float CSng(double x);

// Quotient that raises "Division by zero" instead of producing an infinity or NaN.
double divide(double numerator, double denominator);

// The numeric test of an entry field: non-empty, optional surrounding spaces, optional sign,
// digits with an optional decimal point, optional exponent. No "inf", "nan" or hex.
bool IsNumeric(std::string_view text);

// The number a field's text represents; nullopt when the text is not numeric (see IsNumeric)
// or its value does not fit a double.
std::optional<double> parseNumber(std::string_view text);

// The number a field's text represents, as the program reads it: a non-numeric text raises
// RuntimeError("Type mismatch"), a value beyond double range raises "Overflow".
double CDbl(std::string_view text);

// Fixed-point text with exactly `decimals` digits after the point, no grouping
// (the "0.00" format). Half-way cases round half to even on the decimal value.
std::string formatFixed(double value, int decimals);

// Text of a double as the program shows a plain number: the shortest form that reads back
// as the same value, up to 17 significant digits, no exponent for ordinary magnitudes.
std::string formatGeneral(double value);

// Number with digit grouping ("#,##0" and "#,##0.0" formats); `group` is the locale's
// thousands separator, `point` its decimal separator.
std::string formatGrouped(double value, int decimals, char group = ',', char point = '.');

// Removes spaces at both ends (the Trim function).
std::string trim(std::string_view text);

}  // namespace tunx
