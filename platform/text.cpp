#include <climits>
#include <cstdint>

#include "platform/platform.h"

std::string Str(int64_t value) {
    return std::to_string(value);
}

int32_t ToInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1) {
            value = static_cast<int64_t>(INT32_MAX) + 1;  // saturate; keep reading digits
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

std::string Upper(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

std::string Chr(int code) {
    return std::string(1, static_cast<char>(code & 0xFF));
}

int Find(std::string_view haystack, std::string_view needle) {
    size_t at = haystack.find(needle);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int Instr(std::string_view haystack, std::string_view needle) {
    return Find(haystack, needle) + 1;
}

std::string Slice(const std::string& text, int start, int end) {
    std::string result;
    for (int i = start; i < end; ++i) {
        bool inside = i >= 0 && static_cast<size_t>(i) < text.size();
        result += inside ? text[static_cast<size_t>(i)] : ' ';
    }
    return result;
}
