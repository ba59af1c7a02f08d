#pragma once
// The chart's look shared by its parts: colours handed over as 0x00BBGGRR, fonts, markers, and
// annotation texts (which break their lines at "\r").
#include <QColor>
#include <QFont>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <string>

class QCPScatterStyle;

namespace trv {

struct ChartSeries;

inline const QColor kChartNavy(0, 0, 128);

QColor ChartColor(uint32_t bgr);
// The colour a series' legend text is written in: its own, or a darker grey where the series
// colour (white pre-load points) would not stand out from the legend's background.
QColor LegendTextColor(const ChartSeries& s);
// The scatter style of a chart marker at the given pixel size.
QCPScatterStyle MarkerStyle(const ChartSeries& s, uint32_t fillColor, double size);

QFont ChartFont(const char* family, int points, bool bold = false);
// Numbers on the axes in the language of the calling thread ("12,5" in German, "12.5" in English), without a
// group separator.
QLocale ChartLocale();
QFont ChartPixelFont(const char* family, int pixels);

// An annotation's text with its "\r" line breaks as "\n".
QString AnnotationText(const std::string& text);

}  // namespace trv
