// The protocol's labelled blocks in German and English: every value of a block starts at the same tab stop,
// so that a translated label that is too long (it would push its value one stop further) shows up here.
#include "print/ProtocolPaint.h"
#include "res/Strings.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// Where the value after the label's tabs begins, in device units of a 1200 dpi page, with the tab stops of the
// protocol's text blocks (every eight average widths of Arial).
double ValueStart(QPainter& p, const QString& labelWithTabs) {
    QTextOption option;
    option.setTabStopDistance(8.0 * 904.0 / 2048.0 * p.font().pixelSize() * 96.0 / p.device()->logicalDpiX());
    const QString probe = QStringLiteral("X");
    const QRectF used = p.boundingRect(QRectF(0, 0, 100000, 100000), labelWithTabs + probe, option);
    return used.width() - p.fontMetrics().horizontalAdvance(probe);
}

class BlockAlignment : public ::testing::TestWithParam<Lang> {};

}  // namespace

TEST_P(BlockAlignment, ValuesOfEachBlockShareOneTabStop) {
    const LangScope scope(GetParam());
    QImage image(2000, 2000, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(1200 / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(1200 / 0.0254 + 0.5));
    QPainter p(&image);
    p.setFont(MakeProtocolFont(ProtocolFont::Body, p));
    // The blocks as the protocol prints them (the heart-rate line follows the results).
    const std::string blocks[] = {LoadStr(IDS_PRN_ATHLETE),
                                  LoadStr(IDS_PRN_DEVICE),
                                  LoadStr(IDS_PRN_TEST_FIELD),
                                  LoadStr(IDS_PRN_TEST),
                                  std::string(LoadStr(IDS_PRN_RESULT_FIELD)) + LoadStr(IDS_PRN_HEART_RATE),
                                  std::string(LoadStr(IDS_PRN_RESULT)) + LoadStr(IDS_PRN_HEART_RATE)};
    const QRegularExpression placeholder(QStringLiteral("%[-+ #0]*[0-9.]*[a-z]"));
    for (const std::string& block : blocks) {
        QString text = QString::fromUtf8(block.c_str());
        text.replace(placeholder, QStringLiteral("400"));
        double first = -1.0;
        QString firstLine;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            if (tab < 0) continue;
            qsizetype end = tab;
            while (end < line.size() && line[end] == QLatin1Char('\t')) ++end;
            const double x = ValueStart(p, line.left(end));
            if (first < 0) {
                first = x;
                firstLine = line;
                continue;
            }
            EXPECT_NEAR(x, first, 2.0) << LangCode(GetParam()) << ": \"" << line.toStdString() << "\" against \""
                                       << firstLine.toStdString() << "\"";
        }
        EXPECT_GT(first, 0.0) << block;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, BlockAlignment, ::testing::Values(Lang::de, Lang::en),
                         [](const auto& info) { return std::string(LangCode(info.param)); });
