#pragma once
// "Verlauf drucken": one page with the athlete block of the protocol, the history table and the
// history charts. Landscape when the table has more method columns than portrait holds well.
//   trv::HistoryPrintOptions opt;
//   opt.drawCharts = [&](QPainter& p, const QRectF& r) { ...draw the charts into r... };
//   trv::PaintHistoryPage(painter, pageRect, doc, rows, methods, opt);   // preview, printer
//   trv::WriteHistoryPdf(path, doc, rows, methods, opt);                 // PDF file (a Result)
#include "analysis/History.h"
#include "data/OleDateTime.h"
#include "data/Result.h"

#include <QPageLayout>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace trv {

class CTRVDoc;

struct HistoryPrintOptions {
    // Draws the charts into the rectangle (device units). Empty: a framed empty area.
    std::function<void(QPainter&, const QRectF&)> drawCharts;
    // The date printed in the header ("Verlauf vom ..."); not valid: today.
    COleDateTime today{0.0, COleDateTime::null};
};

// Portrait up to four methods; with more the table's columns need the width of landscape.
QPageLayout::Orientation HistoryOrientation(size_t methods);

// The header band: "<first name> <last name>\nVerlauf vom <date>".
std::string HistoryHeaderLine(const CTRVDoc& doc, const COleDateTime& today);

// Draws the page into `pageRect`, the printable rectangle in the painter's device units. The table
// shows the newest rows that fit; a line says how many older ones were left out.
void PaintHistoryPage(QPainter& painter, const QRect& pageRect, const CTRVDoc& doc, const std::vector<HistoryRow>& rows,
                      const std::vector<std::string>& methods, const HistoryPrintOptions& options);

// The page on `printer` in the orientation for the methods. False when it cannot be painted on.
bool PrintHistory(QPrinter& printer, const CTRVDoc& doc, const std::vector<HistoryRow>& rows,
                  const std::vector<std::string>& methods, const HistoryPrintOptions& options);

// The page as an A4 PDF file at `path`, written safely. Fails with a German message.
Result WriteHistoryPdf(const QString& path, const CTRVDoc& doc, const std::vector<HistoryRow>& rows,
                       const std::vector<std::string>& methods, const HistoryPrintOptions& options);

}  // namespace trv
