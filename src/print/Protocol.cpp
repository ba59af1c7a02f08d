#include "print/Protocol.h"

#include "analysis/ChartModel.h"
#include "analysis/IansThreshold.h"
#include "chart/ChartPlot.h"
#include "data/TRVDoc.h"
#include "data/TrvFile.h"
#include "print/PdfPages.h"
#include "print/ProtocolLayout.h"
#include "print/ProtocolPaint.h"
#include "print/ProtocolTable.h"
#include "print/ProtocolText.h"
#include "print/ProtocolThresholds.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QSvgRenderer>

#include <algorithm>

namespace trv {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const TestAnalysis& AnalysisFor(const ProtocolOptions& opt, int test) {
    static const TestAnalysis kNone;
    return opt.analysis && test >= 0 ? opt.analysis(test) : kNone;
}

// A rectangle by its edges, right and bottom excluded, as the page measures are meant.
QRect Rc(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }
// The part of `r` from `y` down.
QRect Below(const QRect& r, int y) { return Rc(r.left(), y, r.left() + r.width(), r.top() + r.height()); }

// The logo, fitted into its rectangle keeping its proportions. The program's original logo is a
// Windows metafile, which cannot be drawn here; a PNG or SVG of the same name takes its place.
void DrawLogo(QPainter& p, const QRect& rect, const QString& dir) {
    if (dir.isEmpty() || rect.width() <= 0 || rect.height() <= 0) return;
    const QDir d(dir);
    const QString svgPath = d.filePath(QStringLiteral("logo5.svg"));
    const QString pngPath = d.filePath(QStringLiteral("logo5.png"));
    QSizeF size;
    QSvgRenderer svg;
    QImage png;
    if (QFileInfo(pngPath).isFile() && png.load(pngPath))
        size = png.size();
    else if (QFileInfo(svgPath).isFile() && svg.load(svgPath) && svg.isValid())
        size = svg.defaultSize();
    if (size.isEmpty()) return;
    const QSizeF fit = size.scaled(QSizeF(rect.size()), Qt::KeepAspectRatio);
    const QRectF target(rect.x() + (rect.width() - fit.width()) / 2, rect.y() + (rect.height() - fit.height()) / 2,
                        fit.width(), fit.height());
    if (!png.isNull())
        p.drawImage(target, png);
    else
        svg.render(&p, target);
}

void DrawCommon(QPainter& p, const ProtocolLayout& l, int page, const CTRVDoc& doc, const ProtocolOptions& opt) {
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(Rc(l.ml, l.mt, l.ml + l.cw, l.mt + l.ch));

    const COleDateTime today = opt.today.IsValid() ? opt.today : COleDateTime::Now();
    p.setFont(MakeProtocolFont(ProtocolFont::Header, p));
    DrawTextBlock(p, Rc(l.ml + l.g, l.mt + l.g, l.ml + l.cw - l.cw / 5, l.mt + l.hh),
                  Q(ProtocolHeaderText(doc.m_UserData, today)), Qt::AlignHCenter | Qt::AlignVCenter);

    DrawLogo(p, QRect(l.ml + l.cw - l.cw / 5 + l.g, l.mt + l.g / 2, l.cw / 5 - 2 * l.g, l.hh - l.g), opt.logoDir);

    p.setFont(MakeProtocolFont(ProtocolFont::Footer, p));
    DrawTextBlock(p, Rc(l.ml, l.mt + l.ch, l.ml + l.cw, l.H), Q(ProtocolFooterText(page)),
                  Qt::AlignHCenter | Qt::AlignVCenter);
}

// A box with a title and a body below it; returns the y below the body.
int DrawTitledBox(QPainter& p, const QRect& box, int g, const std::string& title, const std::string& body) {
    p.drawRect(box);
    const QRect inner = Rc(box.left() + g, box.top() + g, box.left() + box.width(), box.top() + box.height() - g);
    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    int y = inner.top() + DrawTextBlock(p, inner, Q(title));
    p.setFont(MakeProtocolFont(ProtocolFont::Body, p));
    y += DrawTextBlock(p, Below(inner, y), Q(body));
    return y;
}

void DrawTestBox(QPainter& p, const QRect& box, int g, int slot, const TestDataType* test, const TestAnalysis& an) {
    p.drawRect(box);
    if (!test) return;
    const QRect inner = Rc(box.left() + g, box.top() + g, box.left() + box.width(), box.top() + box.height() - g);
    const auto block = [&](ProtocolFont font, const std::string& text, int y) {
        p.setFont(MakeProtocolFont(font, p));
        return y + DrawTextBlock(p, Below(inner, y), Q(text));
    };
    int y = inner.top();
    y = block(ProtocolFont::Title, TestTitleText(slot, *test), y);
    y = block(ProtocolFont::Body, TestInfoText(*test, an), y);
    y = block(ProtocolFont::Title, LoadStr(IDS_PRN_RESULTS_HEAD), y);
    block(ProtocolFont::Body, PrintedResultText(*test, an), y);
}

void DrawPage1(QPainter& p, const ProtocolLayout& l, const CTRVDoc& doc, const std::vector<int>& tests,
               const ProtocolOptions& opt) {
    const int half = l.cw / 2;
    DrawTitledBox(p, Rc(l.ml, l.y0, l.ml + half, l.y0 + l.q), l.g, LoadStr(IDS_PRN_ATHLETE_HEAD),
                  AthleteText(doc.m_UserData));
    DrawTitledBox(p, Rc(l.ml + half, l.y0, l.ml + l.cw, l.y0 + l.dq), l.g, LoadStr(IDS_PRN_DEVICE_HEAD),
                  AnalyserText(doc));
    DrawTitledBox(p, Rc(l.ml + half, l.y0 + l.dq, l.ml + l.cw, l.y0 + l.dq + l.rq), l.g, LoadStr(IDS_PRN_REMARKS_HEAD),
                  doc.m_UserData.m_strRemarks);

    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    const int t =
        DrawTextBlock(p, Rc(l.ml + l.g, l.y1 + l.g, l.ml + l.cw, l.y1 + l.cq), Q(LoadStr(IDS_PRN_CURVE_HEAD)));
    const QRect chart = Rc(l.ml, l.y1 + t, l.ml + l.cw, l.y1 + l.cq - t);
    if (opt.drawChart || opt.chart) {
        p.save();
        p.setClipRect(chart, Qt::IntersectClip);
        if (opt.drawChart) {
            opt.drawChart(p, QRectF(chart));
        } else {
            CChartPlot plot;
            plot.RenderInto(PrintChartModel(*opt.chart), p, QRectF(chart), QSize(kPrintChartWidth, kPrintChartHeight));
        }
        p.restore();
        // The chart fills the frame's width: the frame line goes over its edges again.
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(Rc(l.ml, l.mt, l.ml + l.cw, l.mt + l.ch));
    } else {
        p.drawRect(chart.adjusted(l.g, 0, -l.g, 0));
    }

    for (int slot = 0; slot < 2; ++slot) {
        const QRect box = Rc(l.ml + slot * half, l.y2, l.ml + half + slot * half, l.mt + l.ch);
        const bool has = slot < static_cast<int>(tests.size());
        const TestDataType* test = has ? &doc.GetTest(tests[slot]) : nullptr;
        DrawTestBox(p, box, l.g, slot, test, has ? AnalysisFor(opt, tests[slot]) : AnalysisFor(opt, -1));
    }
}

// Returns the y below the table.
int DrawTable(QPainter& p, const ProtocolLayout& l, int slot, const TestDataType& test, const TestAnalysis& an) {
    const int x = l.ml + slot * (l.cw / 2);
    const int right = x + l.cw / 2;
    const int bottom = l.mt + l.ch;
    int stops[kTableTabStops];
    for (int i = 0; i < kTableTabStops; ++i) stops[i] = l.TabStop(i);

    p.setFont(MakeProtocolFont(ProtocolFont::Title, p));
    int y = l.y0 + l.g;
    y += DrawTextBlock(p, Rc(x + l.g, y, right, bottom),
                       Q(LoadStr(slot == 0 ? IDS_PRN_READINGS1_HEAD : IDS_PRN_READINGS2_HEAD)));

    p.save();
    p.setClipRect(Rc(x, l.y0, right, bottom), Qt::IntersectClip);
    p.setFont(MakeProtocolFont(ProtocolFont::Table, p));
    const QPen black(Qt::black, 0);
    const int tableTop = y;
    int headers = 0;
    for (const TableLine& line : BuildMeasurementTable(test, an)) {
        const QString text = Q(line.text);
        switch (line.kind) {
            case TableLine::Header:
                if (headers++ == 0) p.drawLine(x, y, right, y);
                y += DrawTabbedLine(p, x + l.g, y, text, x, stops, kTableTabStops);
                if (headers == 2) {
                    p.drawLine(x, y, right, y);
                    y += l.g;
                }
                break;
            case TableLine::GroupRule:
                p.drawLine(x, y, right, y);
                y += l.g;
                break;
            case TableLine::Text:
                y += DrawTabbedLine(p, x + l.g, y, text, x, stops, kTableTabStops);
                break;
            case TableLine::Row: {
                if (line.shown) {
                    const int h = QFontMetrics(p.font(), p.device()).height();
                    p.fillRect(QRect(x + l.g, y, l.cw / 2 - 2 * l.g, h),
                               line.shortened ? QColor(0x64, 0x64, 0x64) : QColor(0xC8, 0xC8, 0xC8));
                    p.setPen(line.shortened ? QPen(Qt::white, 0) : black);
                }
                y += DrawTabbedLine(p, x + l.g, y, text, x, stops, kTableTabStops);
                p.setPen(black);
                break;
            }
        }
    }
    p.drawLine(x, y, right, y);
    for (int i = 1; i < kTableTabStops; ++i) p.drawLine(x + stops[i], tableTop, x + stops[i], y);
    p.restore();
    return y;
}

void DrawPage2(QPainter& p, const ProtocolLayout& l, const CTRVDoc& doc, const std::vector<int>& tests,
               const ProtocolOptions& opt) {
    p.drawRect(Rc(l.ml, l.y0, l.ml + l.cw, l.mt + l.ch));
    p.drawRect(Rc(l.ml, l.y0, l.ml + l.cw / 2, l.mt + l.ch));
    for (size_t slot = 0; slot < tests.size() && slot < 2; ++slot) {
        const TestDataType& test = doc.GetTest(tests[slot]);
        const TestAnalysis& an = AnalysisFor(opt, tests[slot]);
        const int y = DrawTable(p, l, static_cast<int>(slot), test, an);
        const TestThresholds r = opt.thresholds
                                     ? opt.thresholds(tests[slot])
                                     : ComputeTestThresholds(test, an.m_nFitFunction, an.m_nThresholdModel, opt.zones);
        std::optional<ThresholdIntervals> ci;
        if (opt.intervalError)
            ci = ComputeTestUncertainty(test, an.m_nFitFunction, an.m_nThresholdModel, *opt.intervalError, true)
                     .intervals;
        DrawThresholdTables(p, l, static_cast<int>(slot), y, test, r, ci ? &*ci : nullptr);
    }
}

bool PaintAll(QPagedPaintDevice& device, QPainter& p, const QRect& rect, const CTRVDoc& doc,
              const std::vector<int>& shownTests, const ProtocolOptions& opt) {
    for (int page = 1; page <= kProtocolPageCount; ++page) {
        if (page > 1 && !device.newPage()) return false;
        PaintProtocolPage(p, rect, page, doc, shownTests, opt);
    }
    return true;
}

}  // namespace

std::vector<int> ProtocolTests(const CTRVDoc& doc, const std::vector<int>& shownTests) {
    std::vector<int> tests = NormalizedTestIndices(doc, shownTests);
    if (tests.size() > 2) tests.resize(2);
    return tests;
}

void PaintProtocolPage(QPainter& painter, const QRect& pageRect, int page, const CTRVDoc& doc,
                       const std::vector<int>& shownTests, const ProtocolOptions& options) {
    const ProtocolLayout l = ProtocolLayout::ForPage(pageRect.width(), pageRect.height());
    const std::vector<int> tests = ProtocolTests(doc, shownTests);
    painter.save();
    painter.translate(pageRect.topLeft());
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawCommon(painter, l, page, doc, options);
    if (page == 1)
        DrawPage1(painter, l, doc, tests, options);
    else if (page == 2)
        DrawPage2(painter, l, doc, tests, options);
    painter.restore();
}

bool PrintProtocol(QPrinter& printer, const CTRVDoc& doc, const std::vector<int>& shownTests,
                   const ProtocolOptions& options) {
    QPainter p;
    if (!p.begin(&printer)) return false;
    const QRect rect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const bool ok = PaintAll(printer, p, rect, doc, shownTests, options);
    return p.end() && ok;
}

Result WriteProtocolPdf(const QString& path, const CTRVDoc& doc, const std::vector<int>& shownTests,
                        const ProtocolOptions& options) {
    const QByteArray bytes =
        DrawPdf(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)), QString(),
                [&](QPagedPaintDevice& device, QPainter& p, const QRect& page) {
                    return PaintAll(device, p, page, doc, shownTests, options);
                });
    if (bytes.isEmpty()) return Result::Fail(FmtId(IDS_ERR_PROTOCOL_CREATE, path.toUtf8().constData()));
    if (const Result written = WriteFileSafely(path.toStdString(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        !written)
        return Result::Fail(FmtId(IDS_ERR_FILE_WRITE, path.toUtf8().constData(), written.message.c_str()));
    return Result::Ok();
}

CChartModel PrintChartModel(const CChartModel& shown) {
    CChartModel m = shown;
    for (int a : {AxisLeft, AxisRight, AxisBottom, AxisCustom0, AxisCustom1}) {
        m.axes[a].titleFontSize = 14;
        m.axes[a].labelFontPixels = m.axes[a].labelFontPixels * 14 / 10;
    }
    m.tools[ToolZoneBand].transparency = 0;
    m.tools[ToolBand2].active = false;
    m.tools[ToolBand2].transparency = 100;
    m.tools[ToolCursor1].active = false;
    m.tools[ToolCursor2].active = false;
    // The result boxes go (the test boxes below carry the results); their points and the dashed
    // lines to the axes stay.
    m.tools[ToolResult1].boxShown = false;
    m.tools[ToolResult2].boxShown = false;
    m.tools[ToolDeviceText].active = false;
    // What only a mouse can use: the legend's check boxes and the cursor read-out.
    m.legendCheckBoxes = false;
    m.cursorText.Clear();
    return m;
}

}  // namespace trv
