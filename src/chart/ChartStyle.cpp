#include "chart/ChartStyle.h"

#include "analysis/ChartModel.h"
#include "res/Strings.h"

#include <qcustomplot.h>

namespace trv {

QColor ChartColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QColor LegendTextColor(const ChartSeries& s) {
    QColor c = ChartColor(s.color);
    if (c.lightness() > 200) return QColor(0x70, 0x70, 0x70);
    return c;
}

QCPScatterStyle MarkerStyle(const ChartSeries& s, uint32_t fillColor, double size) {
    QCPScatterStyle::ScatterShape shape = QCPScatterStyle::ssNone;
    bool hollow = false;
    switch (s.marker) {
        case MarkerShape::Circle:
            shape = QCPScatterStyle::ssCircle;
            break;
        case MarkerShape::Triangle:
            shape = QCPScatterStyle::ssTriangle;
            break;
        case MarkerShape::HollowCircle:
            shape = QCPScatterStyle::ssCircle;
            hollow = true;
            break;
        case MarkerShape::HollowTriangle:
            shape = QCPScatterStyle::ssTriangle;
            hollow = true;
            break;
        case MarkerShape::None:
            return QCPScatterStyle();
    }
    if (hollow) return QCPScatterStyle(shape, QPen(ChartColor(s.color), 1.3), Qt::NoBrush, size);
    return QCPScatterStyle(shape, QPen(ChartColor(s.markerOutline), 1.0), QBrush(ChartColor(fillColor)), size);
}

QLocale ChartLocale() {
    QLocale locale = CurrentLang() == Lang::en ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                               : QLocale(QLocale::German, QLocale::Germany);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QFont ChartFont(const char* family, int points, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QFont ChartPixelFont(const char* family, int pixels) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    return f;
}

QString AnnotationText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

}  // namespace trv
