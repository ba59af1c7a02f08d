#pragma once
// The test list's search: which tests a typed text finds. Every word of the text must occur in
// one of the texts the list shows for the test (the ID as "00042", the date as "02.03.2026", the
// test type), ignoring case. Matching one test costs a few short string searches, so filtering
// 10,000 tests per keystroke stays well below a frame.
#include "data/Records.h"

#include <string>
#include <string_view>
#include <vector>

namespace trv {

class CTestFilter {
public:
    CTestFilter() = default;
    explicit CTestFilter(std::string_view text);

    // No words: every test matches.
    bool Empty() const { return m_Words.empty(); }
    bool Matches(const TestDataType& test) const;

private:
    std::vector<std::string> m_Words;  // folded to lower case
};

// Lower case of a UTF-8 text for searching: ASCII letters and the German capitals Ä, Ö, Ü.
std::string FoldCase(std::string_view text);

}  // namespace trv
