#include "res/Strings.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <string>

namespace trv {

namespace {

std::atomic<int> g_processLang{static_cast<int>(Lang::de)};
thread_local int t_scopeLang = -1;  // -1: no LangScope on this thread

const StringEntry* FindIn(const StringEntry* table, int count, int id) {
    const StringEntry* end = table + count;
    const StringEntry* it = std::lower_bound(table, end, id, [](const StringEntry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

}  // namespace

Lang CurrentLang() { return static_cast<Lang>(t_scopeLang >= 0 ? t_scopeLang : g_processLang.load()); }

void SetLang(Lang lang) { g_processLang.store(static_cast<int>(lang)); }

LangScope::LangScope(Lang lang) : m_previous(t_scopeLang) { t_scopeLang = static_cast<int>(lang); }

LangScope::~LangScope() { t_scopeLang = m_previous; }

const char* LangCode(Lang lang) { return lang == Lang::en ? "en" : "de"; }

bool ParseLang(std::string_view text, Lang& lang) {
    std::string code;
    for (char c : text) {
        if (c == '_' || c == '-' || c == '.' || c == '@') break;
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (code == "de" || code == "deutsch" || code == "german") {
        lang = Lang::de;
        return true;
    }
    if (code == "en" || code == "english" || code == "englisch") {
        lang = Lang::en;
        return true;
    }
    return false;
}

bool LangFromEnvironment(Lang& lang) {
    const char* value = std::getenv("TRV_LANG");
    return value && ParseLang(value, lang);
}

const char* LoadStrIn(Lang lang, int id) {
    int n = 0;
    if (lang == Lang::en) {
        const StringEntry* table = StringTableEn(&n);
        if (const StringEntry* e = FindIn(table, n, id)) return e->text;
    }
    const StringEntry* table = StringTable(&n);
    const StringEntry* e = FindIn(table, n, id);
    return e ? e->text : "";
}

const char* LoadStr(int id) { return LoadStrIn(CurrentLang(), id); }

bool HasStr(int id) {
    int n = 0;
    const StringEntry* table = StringTable(&n);
    return FindIn(table, n, id) != nullptr;
}

}  // namespace trv
