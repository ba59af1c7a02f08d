#pragma once
// Text rules of the athlete library: the search's folding (case and accents do not count), the
// words of a search, and file names made from athlete names.
#include <string>
#include <vector>

namespace trv {

// Lower case without accents: "Müller-Lüdenscheidt" -> "muller-ludenscheidt", "ß" -> "ss", "Æ" -> "ae".
// Characters outside the Latin letters pass unchanged (emoji, Greek, ...).
std::string FoldText(const std::string& utf8);

// The words of a search text (split at blanks), folded.
std::vector<std::string> SearchWords(const std::string& text);

// True when every word occurs in `folded` (a text already folded). No words: true.
bool ContainsAllWords(const std::string& folded, const std::vector<std::string>& words);

// A name part made safe for a file name on every file system a lab may use (a shared network folder
// included): "/", "\", ":", "*", "?", "\"", "<", ">", "|" and control characters become "_", leading and
// trailing blanks and dots are dropped. Letters with umlauts, apostrophes and emoji stay.
std::string FileNamePart(const std::string& utf8);

}  // namespace trv
