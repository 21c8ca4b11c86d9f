// Floating-point to_chars where the standard library has it; elsewhere the shortest digits that
// read back, found by printing with ever more digits, then laid out the way to_chars does.
#include "float_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <version>

namespace sinkaway {

namespace {

constexpr int kBufferSize = 32;

template <typename T>
T ReadBack(const char* text) {
    if constexpr (sizeof(T) == sizeof(float))
        return std::strtof(text, nullptr);
    else
        return std::strtod(text, nullptr);
}

// The shortest decimal digits of a finite, positive v that read back to v, and the power of ten of
// the first: v ~ 0.d1d2d3... * 10^(exponent + 1).
template <typename T>
int ShortestDigits(T v, char* digits, int& exponent) {
    constexpr int kMaxDigits = sizeof(T) == sizeof(float) ? 9 : 17;
    char text[48];
    for (int precision = 1;; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, static_cast<double>(v));
        if (precision < kMaxDigits && ReadBack<T>(text) != v)
            continue;
        int count = 0;
        const char* p = text;
        for (; *p != 'e'; ++p) {
            if (*p != '.')
                digits[count++] = *p;
        }
        exponent = std::atoi(p + 1);
        while (count > 1 && digits[count - 1] == '0') --count;
        return count;
    }
}

template <typename T>
char* Shortest(char* out, T v) {
    if (std::isnan(v)) {
        if (std::signbit(v))
            *out++ = '-';
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    if (std::signbit(v)) {
        *out++ = '-';
        v = -v;
    }
    if (std::isinf(v)) {
        std::memcpy(out, "inf", 3);
        return out + 3;
    }
    if (v == 0) {
        *out++ = '0';
        return out;
    }
    char digits[20];
    int exponent = 0;
    const int count = ShortestDigits(v, digits, exponent);

    // Scientific: d[.ddd]e±XX, at least two exponent digits.
    const int absExponent = exponent < 0 ? -exponent : exponent;
    const int scientificLength = count + (count > 1 ? 1 : 0) + 2 + (absExponent >= 100 ? 3 : 2);
    // Fixed: every digit before the point, zeros padded, or "0.000ddd".
    int fixedLength;
    if (exponent >= 0)
        fixedLength = (count > exponent + 1) ? count + 1 : exponent + 1;
    else
        fixedLength = 2 + (-exponent - 1) + count;

    if (scientificLength < fixedLength) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            std::memcpy(out, digits + 1, count - 1);
            out += count - 1;
        }
        out += std::snprintf(out, 6, "e%c%02d", exponent < 0 ? '-' : '+', absExponent);
        return out;
    }
    if (exponent >= count - 1) {
        // A whole number is written with all of its exact digits, not the shortest ones padded.
        char text[48];
        const int n = std::snprintf(text, sizeof text, "%.0f", static_cast<double>(v));
        std::memcpy(out, text, n);
        return out + n;
    }
    if (exponent >= 0) {
        for (int i = 0; i < count; ++i) {
            if (i == exponent + 1)
                *out++ = '.';
            *out++ = digits[i];
        }
        return out;
    }
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
    std::memcpy(out, digits, count);
    return out + count;
}

}  // namespace

char* ShortestTextPortable(char* first, double v) {
    return Shortest(first, v);
}

char* ShortestTextPortable(char* first, float v) {
    return Shortest(first, v);
}

char* WholeTextPortable(char* first, double v) {
    char text[400];  // the largest double has 309 digits
    const int n = std::snprintf(text, sizeof text, "%.0f", v);
    const int kept = n < kBufferSize ? n : kBufferSize;
    std::memcpy(first, text, kept);
    return first + kept;
}

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L

char* ShortestText(char* first, double v) {
    return std::to_chars(first, first + kBufferSize, v).ptr;
}

char* ShortestText(char* first, float v) {
    return std::to_chars(first, first + kBufferSize, v).ptr;
}

char* WholeText(char* first, double v) {
    return std::to_chars(first, first + kBufferSize, v, std::chars_format::fixed, 0).ptr;
}

#else

char* ShortestText(char* first, double v) {
    return ShortestTextPortable(first, v);
}

char* ShortestText(char* first, float v) {
    return ShortestTextPortable(first, v);
}

char* WholeText(char* first, double v) {
    return WholeTextPortable(first, v);
}

#endif

}  // namespace sinkaway
