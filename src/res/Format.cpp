#include "res/Format.h"

#include "res/Strings.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace trv {

namespace {

enum class Len { none, hh, h, l, ll, j, z, t, L };

void AppendConverted(std::string& out, const std::string& convText, char conv, Len len, int starArgs[2], int nStars,
                     va_list& ap, bool decimalComma) {
    char buf[512];
    auto put = [&](auto value) {
        int n;
        if (nStars == 2)
            n = std::snprintf(buf, sizeof buf, convText.c_str(), starArgs[0], starArgs[1], value);
        else if (nStars == 1)
            n = std::snprintf(buf, sizeof buf, convText.c_str(), starArgs[0], value);
        else
            n = std::snprintf(buf, sizeof buf, convText.c_str(), value);
        if (n < 0) return;
        if (static_cast<size_t>(n) < sizeof buf) {
            out.append(buf, static_cast<size_t>(n));
        } else {
            std::string big(static_cast<size_t>(n) + 1, '\0');
            if (nStars == 2)
                std::snprintf(big.data(), big.size(), convText.c_str(), starArgs[0], starArgs[1], value);
            else if (nStars == 1)
                std::snprintf(big.data(), big.size(), convText.c_str(), starArgs[0], value);
            else
                std::snprintf(big.data(), big.size(), convText.c_str(), value);
            big.resize(static_cast<size_t>(n));
            out += big;
        }
    };
    switch (conv) {
        case 'd':
        case 'i':
            if (len == Len::l)
                put(va_arg(ap, long));
            else if (len == Len::ll || len == Len::j)
                put(va_arg(ap, long long));
            else if (len == Len::z || len == Len::t)
                put(va_arg(ap, long));
            else
                put(va_arg(ap, int));
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            if (len == Len::l)
                put(va_arg(ap, unsigned long));
            else if (len == Len::ll || len == Len::j)
                put(va_arg(ap, unsigned long long));
            else if (len == Len::z || len == Len::t)
                put(va_arg(ap, size_t));
            else
                put(va_arg(ap, unsigned));
            break;
        case 'c':
            put(va_arg(ap, int));
            break;
        case 's': {
            const char* s = va_arg(ap, const char*);
            put(s ? s : "");
            break;
        }
        case 'p':
            put(va_arg(ap, void*));
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A': {
            size_t before = out.size();
            if (len == Len::L)
                put(va_arg(ap, long double));
            else
                put(va_arg(ap, double));
            if (decimalComma)
                for (size_t i = before; i < out.size(); ++i)
                    if (out[i] == '.') out[i] = ',';
            break;
        }
        default:
            out += convText;
            break;
    }
}

}  // namespace

std::string FmtV(const char* fmt, va_list apIn) {
    std::string out;
    if (!fmt) return out;
    va_list ap;
    va_copy(ap, apIn);
    const bool decimalComma = CurrentLang() == Lang::de;
    const char* p = fmt;
    while (*p) {
        if (*p != '%') {
            const char* q = std::strchr(p, '%');
            if (!q) {
                out += p;
                break;
            }
            out.append(p, static_cast<size_t>(q - p));
            p = q;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            p += 2;
            continue;
        }
        std::string convText = "%";
        const char* q = p + 1;
        int stars[2] = {0, 0};
        int nStars = 0;
        while (*q && std::strchr("-+ #0'", *q)) convText += *q++;
        if (*q == '*') {
            stars[nStars++] = va_arg(ap, int);
            convText += *q++;
        } else
            while (std::isdigit(static_cast<unsigned char>(*q))) convText += *q++;
        if (*q == '.') {
            convText += *q++;
            if (*q == '*') {
                stars[nStars++] = va_arg(ap, int);
                convText += *q++;
            } else
                while (std::isdigit(static_cast<unsigned char>(*q))) convText += *q++;
        }
        Len len = Len::none;
        if (q[0] == 'h' && q[1] == 'h')
            len = Len::hh, convText += "hh", q += 2;
        else if (q[0] == 'l' && q[1] == 'l')
            len = Len::ll, convText += "ll", q += 2;
        else if (*q == 'h')
            len = Len::h, convText += *q++;
        else if (*q == 'l')
            len = Len::l, convText += *q++;
        else if (*q == 'j')
            len = Len::j, convText += *q++;
        else if (*q == 'z')
            len = Len::z, convText += *q++;
        else if (*q == 't')
            len = Len::t, convText += *q++;
        else if (*q == 'L')
            len = Len::L, convText += *q++;
        if (!*q) {
            out += convText;
            break;
        }
        char conv = *q++;
        convText += conv;
        AppendConverted(out, convText, conv, len, stars, nStars, ap, decimalComma);
        p = q;
    }
    va_end(ap);
    return out;
}

std::string Fmt(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = FmtV(fmt, ap);
    va_end(ap);
    return s;
}

std::string FmtId(int id, ...) {
    va_list ap;
    va_start(ap, id);
    std::string s = FmtV(LoadStr(id), ap);
    va_end(ap);
    return s;
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Parses [sign] digits [sep digits] from `s` at `i`; returns the number of characters used.
size_t ScanNumber(std::string_view s, size_t i, double& value) {
    size_t start = i;
    std::string buf;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf += s[i++];
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) buf += s[i++], ++digits;
    if (i < s.size() && (s[i] == ',' || s[i] == '.')) {
        size_t j = i + 1;
        std::string frac;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) frac += s[j++];
        if (digits > 0 || !frac.empty()) {
            buf += '.';
            buf += frac;
            digits += frac.size();
            i = j;
        }
    }
    if (digits == 0) return 0;
    // Digits and one point only: strtod reads it the same in every locale that uses '.', and we
    // pin LC_NUMERIC to "C"; convert by hand to be independent of even that.
    double v = 0.0, scale = 1.0;
    bool neg = false, frac = false;
    for (char c : buf) {
        if (c == '-')
            neg = true;
        else if (c == '.')
            frac = true;
        else if (c >= '0' && c <= '9') {
            if (frac) {
                scale /= 10.0;
                v += (c - '0') * scale;
            } else
                v = v * 10.0 + (c - '0');
        }
    }
    value = neg ? -v : v;
    return i - start;
}
}  // namespace

bool ParseDecimal(std::string_view text, double& value) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    double v = 0.0;
    size_t n = ScanNumber(text, i, v);
    if (n == 0) return false;
    i += n;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i != text.size()) return false;
    value = v;
    return true;
}

long ParseLeadingInt(std::string_view text, bool* ok) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    long v = 0;
    bool any = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (v < 100000000L) v = v * 10 + (text[i] - '0');
        ++i;
        any = true;
    }
    if (ok) *ok = any;
    return neg ? -v : v;
}

double ParseLeadingDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    double v = 0.0;
    return ScanNumber(text, i, v) ? v : 0.0;
}

}  // namespace trv
