#pragma once
// The zone card ("Zonenkarte"): one page for the athlete with the zones of one test: athlete, test
// date and type, the zone model, the anchors with their methods, and per band its load range (W, or
// km/h and pace), heart-rate range and lactate range.
//
//   trv::ZoneCardText text = trv::MakeZoneCardText(doc, test, thresholds, today);
//   trv::WriteZoneCardPdf(path, text);   // a Result; or PrintZoneCard(printer, text)
#include "analysis/ThresholdMethods.h"
#include "data/OleDateTime.h"
#include "data/Result.h"

#include <QRect>
#include <QString>

#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace trv {

class CTRVDoc;

struct ZoneCardRow {
    std::string cells;  // tab-separated: band, load, (pace,) heart rate, lactate
    unsigned colour = 0;
};

struct ZoneCardText {
    std::string title;               // "Zonenkarte"
    std::vector<std::string> facts;  // "Athlet:\t...", "Test:\t...", model, LT1, LT2 (tab-separated)
    std::string head;                // the table's header line
    bool speed = false;              // the table has a pace column
    std::vector<ZoneCardRow> rows;
    std::string footer;  // "Erstellt am ..."
};

// The card's texts. `r` must have zones (a caller tells the reason instead of printing an empty card).
ZoneCardText MakeZoneCardText(const CTRVDoc& doc, int test, const TestThresholds& r, const COleDateTime& today);

// Draws the card into `pageRect` (the printable rectangle in device units).
void PaintZoneCard(QPainter& painter, const QRect& pageRect, const ZoneCardText& card);

// On a printer (its page layout as set); false when it cannot be painted on.
bool PrintZoneCard(QPrinter& printer, const ZoneCardText& card);

// As an A4 PDF file written safely; fails with a German message.
Result WriteZoneCardPdf(const QString& path, const ZoneCardText& card);

}  // namespace trv
