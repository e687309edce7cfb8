// Reading whole words as numbers through strtoll and strtod, checked for a complete token.
#include "base/number_words.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool startsWithBlank(const std::string& word) { return std::isspace(static_cast<unsigned char>(word[0])) != 0; }

}  // namespace

bool parseInt32(const std::string& word, int32_t* value) {
    if (word.empty() || startsWithBlank(word)) return false;
    errno = 0;
    char* end = nullptr;
    long long parsed = std::strtoll(word.c_str(), &end, 10);
    if (end != word.c_str() + word.size() || errno == ERANGE) return false;
    if (parsed < INT32_MIN || parsed > INT32_MAX) return false;
    *value = static_cast<int32_t>(parsed);
    return true;
}

bool parseFiniteDouble(const std::string& word, double* value) {
    if (word.empty() || startsWithBlank(word)) return false;
    char* end = nullptr;
    double parsed = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

bool parsePlainDecimal(const std::string& word, double* value) {
    if (word.empty() || word == "." || word.find_first_not_of("0123456789.") != std::string::npos ||
        word.find('.') != word.rfind('.')) {
        return false;
    }
    return parseFiniteDouble(word, value);
}

std::string formatNumber(const char* pattern, double value) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}
