#pragma once
// Number and text formatting that does not depend on the machine's locales: printf-style formats (as the
// string table holds them) with a decimal comma in German and a decimal point in English (the language of
// the calling thread, CurrentLang()).
#include <cstdarg>
#include <string>
#include <string_view>

#include "res/StringIds.h"

namespace trv {

// printf-style formatting; in German every floating conversion (%f %e %g %a) gets a decimal comma.
std::string Fmt(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string FmtV(const char* fmt, va_list ap);

// Formats the string-table text `id` with the arguments (same rules as Fmt).
std::string FmtId(int id, ...);

// A typed decimal number: "4,25" and "4.25" alike, leading and trailing blanks allowed.
// False when the text is empty or is not a number as a whole.
bool ParseDecimal(std::string_view text, double& value);

// The leading digits of a text as an integer (optional sign, blanks before it), as the C run-time's
// atoi reads them: "185s" gives 185, "abc" gives 0. `ok` tells whether any digit was read.
long ParseLeadingInt(std::string_view text, bool* ok = nullptr);

// A decimal number as the C run-time's atof would read it under a comma locale: the longest leading
// number, comma or point as the decimal separator; 0.0 when there is none.
double ParseLeadingDecimal(std::string_view text);

}  // namespace trv
