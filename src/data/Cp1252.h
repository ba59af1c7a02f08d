#pragma once
// Windows-1252 (the code page of the files and the CSV export) to and from UTF-8.
#include <string>
#include <string_view>

namespace trv {

std::string Cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become '?'. Malformed UTF-8 bytes are taken as Latin-1.
std::string Utf8ToCp1252(std::string_view utf8);
// A UTF-16 code unit sequence (as read from a file) to UTF-8.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);
// True when the bytes are well-formed UTF-8 (plain ASCII included).
bool IsValidUtf8(std::string_view bytes);
// Number of characters (code points) of a UTF-8 text.
size_t Utf8Length(std::string_view utf8);
// The first `n` characters of a UTF-8 text.
std::string Utf8Left(std::string_view utf8, size_t n);

}  // namespace trv
