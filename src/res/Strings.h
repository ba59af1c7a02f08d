#pragma once
// The program's German user texts, looked up by their string-table id.
// Texts are UTF-8 in memory; "\r" and "\n" inside a text are part of it.
#include "res/StringIds.h"

namespace trv {

// The text of string `id`, or "" when the table has no such id.
const char* LoadStr(int id);

// True when the table holds `id`.
bool HasStr(int id);

struct StringEntry {
    int id;
    const char* text;
};

// The whole table, sorted by id (for tests and tools).
const StringEntry* StringTable(int* count);

}  // namespace trv
