// Numbers read from single words of text, whole: a word holding anything besides its number, a
// blank before it or a value out of range is refused, and the value is left as it was.
#pragma once

#include <cstdint>
#include <string>

// A decimal whole number as strtoll reads it (an optional sign, then digits) within int32.
bool parseInt32(const std::string& word, int32_t* value);

// A finite number as strtod reads it (sign, exponent and hexadecimal forms included).
bool parseFiniteDouble(const std::string& word, double* value);

// Digits with at most one point ("12", "2.5", "3.", ".5"; "." alone is no number): no sign,
// exponent, blank or word.
bool parsePlainDecimal(const std::string& word, double* value);

// One number written with a printf pattern that takes one double ("%.2f", "row %.2f"); the text
// is cut at 95 bytes.
std::string formatNumber(const char* pattern, double value);
