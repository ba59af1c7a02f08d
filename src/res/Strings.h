#pragma once
// The program's user texts in German and English, looked up by their string-table id.
// Texts are UTF-8 in memory; "\r" and "\n" inside a text are part of it.
#include <string_view>

#include "res/StringIds.h"

namespace trv {

// The languages of the user texts. German is the default and the program's established language.
enum class Lang : int { de = 0, en = 1 };

// The language of LoadStr, FmtId and Fmt on this thread: the innermost LangScope of the thread, else the
// process's language (SetLang).
Lang CurrentLang();

// Sets the process's language (at start-up, before any text is shown).
void SetLang(Lang lang);

// Switches the language of the calling thread for its lifetime, e.g. to print one page in another
// language, or to write a file that is German whatever the program speaks.
class LangScope {
public:
    explicit LangScope(Lang lang);
    ~LangScope();
    LangScope(const LangScope&) = delete;
    LangScope& operator=(const LangScope&) = delete;

private:
    int m_previous;
};

// "de" or "en".
const char* LangCode(Lang lang);

// Reads a language name: "de", "en", also as a locale name ("en_GB.UTF-8", "de-AT"), case-insensitive.
// False (and `lang` unchanged) for anything else.
bool ParseLang(std::string_view text, Lang& lang);

// The language named by the environment variable TRV_LANG; false when it is unset or names no language.
bool LangFromEnvironment(Lang& lang);

// The text of string `id` in the current language, or "" when the table has no such id. An id without an
// English text gives its German text in English.
const char* LoadStr(int id);

// The text of string `id` in `lang` (same rules as LoadStr).
const char* LoadStrIn(Lang lang, int id);

// True when the (German) table holds `id`.
bool HasStr(int id);

struct StringEntry {
    int id;
    const char* text;
};

// The whole German table, sorted by id (for tests and tools).
const StringEntry* StringTable(int* count);

// The English texts, sorted by id; every German id should have one (for tests and tools).
const StringEntry* StringTableEn(int* count);

}  // namespace trv
