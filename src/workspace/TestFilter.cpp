#include "workspace/TestFilter.h"

namespace trv {

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        auto& c = reinterpret_cast<unsigned char&>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // Ä Ö Ü are C3 84, C3 96, C3 9C; their small letters lie 0x20 above.
            auto& next = reinterpret_cast<unsigned char&>(out[i + 1]);
            if (next == 0x84 || next == 0x96 || next == 0x9C) next = static_cast<unsigned char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

CTestFilter::CTestFilter(std::string_view text) {
    const std::string folded = FoldCase(text);
    size_t pos = 0;
    while (pos < folded.size()) {
        const size_t start = folded.find_first_not_of(" \t\r\n", pos);
        if (start == std::string::npos) break;
        const size_t end = folded.find_first_of(" \t\r\n", start);
        m_Words.push_back(folded.substr(start, end == std::string::npos ? std::string::npos : end - start));
        pos = end;
    }
}

// Between the shown texts: no typed word holds it, so a word never spans two of them.
constexpr char kApart = '\x1f';

bool CTestFilter::Matches(const TestDataType& test) const {
    if (m_Words.empty()) return true;
    if (test.m_Steps.empty()) return false;
    const PCMDataType& first = test.m_Steps.front();
    const std::string shown = MeasIdText(test, first.m_nMeasId) + kApart + first.m_Time.FormatDate() + kApart +
                              FoldCase(TestTypeText(test.m_nTestType));
    for (const std::string& w : m_Words)
        if (shown.find(w) == std::string::npos) return false;
    return true;
}

}  // namespace trv
