#include "library/LibraryText.h"

#include <cstdint>

namespace trv {

namespace {

// Decodes one UTF-8 sequence at s[i]; a malformed byte is taken as it is (one code point, one byte).
uint32_t NextCodePoint(const std::string& s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
        ++i;
        return b;
    }
    uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<size_t>(len);
    return cp;
}

// Base letters of U+00C0..U+017F (lower case); '\0' where the character is no letter to fold.
constexpr char kLatin1[] =
    "aaaaaa\0ceeeeiiii"    // C0..CF (C6 Æ handled apart)
    "dnooooo\0ouuuuy\0\0"  // D0..DF (D7 ×, DE Þ, DF ß apart)
    "aaaaaa\0ceeeeiiii"    // E0..EF
    "dnooooo\0ouuuuy\0y";  // F0..FF
constexpr char kExtA[] =
    "aaaaaaccccccccdd"    // 100..10F
    "ddeeeeeeeeeegggg"    // 110..11F
    "gggghhhhiiiiiiii"    // 120..12F
    "ii\0\0jjkkklllllll"  // 130..13F (132/133 ĳ apart)
    "lllnnnnnnnnnoooo"    // 140..14F (149 ŉ as n)
    "oo\0\0rrrrrrssssss"  // 150..15F (152/153 Œ apart)
    "ssttttttuuuuuuuu"    // 160..16F
    "uuuuwwyyyzzzzzzs";   // 170..17F (17F ſ as s)

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string FoldText(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const uint32_t cp = NextCodePoint(utf8, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp);
            continue;
        }
        const char* pair = nullptr;
        char base = '\0';
        if (cp == 0xC6 || cp == 0xE6)
            pair = "ae";
        else if (cp == 0xDF)
            pair = "ss";
        else if (cp == 0xDE || cp == 0xFE)
            pair = "th";
        else if (cp == 0x152 || cp == 0x153)
            pair = "oe";
        else if (cp == 0x132 || cp == 0x133)
            pair = "ij";
        else if (cp >= 0xC0 && cp <= 0xFF)
            base = kLatin1[cp - 0xC0];
        else if (cp >= 0x100 && cp <= 0x17F)
            base = kExtA[cp - 0x100];
        if (pair) {
            out += pair;
        } else if (base) {
            out += base;
        } else if (cp >= 0x391 && cp <= 0x3A9) {
            AppendUtf8(out, cp + 0x20);  // Greek capitals
        } else if (cp >= 0x410 && cp <= 0x42F) {
            AppendUtf8(out, cp + 0x20);  // Cyrillic capitals
        } else {
            out.append(utf8, start, i - start);
        }
    }
    return out;
}

std::vector<std::string> SearchWords(const std::string& text) {
    std::vector<std::string> words;
    const std::string folded = FoldText(text);
    size_t i = 0;
    while (i < folded.size()) {
        const size_t j = folded.find_first_of(" \t\r\n", i);
        const size_t end = j == std::string::npos ? folded.size() : j;
        if (end > i) words.push_back(folded.substr(i, end - i));
        i = end + 1;
    }
    return words;
}

bool ContainsAllWords(const std::string& folded, const std::vector<std::string>& words) {
    for (const std::string& w : words)
        if (folded.find(w) == std::string::npos) return false;
    return true;
}

std::string FileNamePart(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const uint32_t cp = NextCodePoint(utf8, i);
        const bool refused = cp < 0x20 || cp == 0x7F || cp == '/' || cp == '\\' || cp == ':' || cp == '*' ||
                             cp == '?' || cp == '"' || cp == '<' || cp == '>' || cp == '|';
        if (refused)
            out += '_';
        else
            out.append(utf8, start, i - start);
    }
    const size_t first = out.find_first_not_of(" .");
    if (first == std::string::npos) return {};
    const size_t last = out.find_last_not_of(" .");
    return out.substr(first, last - first + 1);
}

}  // namespace trv
