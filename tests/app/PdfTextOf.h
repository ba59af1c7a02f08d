#pragma once
// The text of a PDF file as poppler's pdftotext reads it; "" when pdftotext is not installed.
#include <QString>

#include <cstdio>
#include <string>

inline std::string PdfTextOf(const QString& path) {
    std::string out;
    FILE* p = ::popen(("pdftotext '" + path.toStdString() + "' - 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
    return out;
}
