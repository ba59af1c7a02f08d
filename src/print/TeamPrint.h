#pragma once
// The printed team overview: a landscape table over as many pages as it needs, the lab's date in the
// header and "Seite x von y" at the foot of every page. On a printer, in the preview and as PDF.
#include "data/OleDateTime.h"
#include "data/Result.h"
#include "library/TeamOverview.h"

#include <QRect>

#include <string>

class QPainter;
class QPrinter;

namespace trv {

struct TeamPrintOptions {
    std::string title;  // "" : "Teamübersicht"
    // The date printed in the header; not valid: today.
    COleDateTime today{0.0, COleDateTime::null};
};

// Rows per page for a page of `pageHeight` device units on `painter`'s device.
int TeamRowsPerPage(QPainter& painter, const QRect& pageRect);
// Page count of the table.
int TeamPageCount(QPainter& painter, const QRect& pageRect, const TeamTable& table);
// Draws page `page` (0-based) into `pageRect`.
void PaintTeamPage(QPainter& painter, const QRect& pageRect, const TeamTable& table, const TeamPrintOptions& options,
                   int page);

// Every page on `printer` (landscape). False when it cannot be painted on.
bool PrintTeam(QPrinter& printer, const TeamTable& table, const TeamPrintOptions& options);

// The overview as a landscape A4 PDF at `path`, written safely. A failure says why in German.
Result WriteTeamPdf(const std::string& path, const TeamTable& table, const TeamPrintOptions& options);

}  // namespace trv
