#pragma once
// Drawing helpers of the protocol: its fonts, text blocks with word wrapping and tab expansion,
// and table lines with fixed tab stops.
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace trv {

enum class ProtocolFont { Header, Title, Body, Table, Footer };

// Face "Arial" at the font's point size for the painter's device (height = points x dpi / 72,
// truncated), bold for the header and titles.
QFont MakeProtocolFont(ProtocolFont which, const QPainter& painter);

// Draws `text` with word wrapping and tab expansion (a tab every eight average widths of Arial)
// inside `rect`, clipped to it; `align` is a combination of Qt::Alignment flags. Returns the
// height the text takes (which may exceed the rectangle).
int DrawTextBlock(QPainter& painter, const QRect& rect, const QString& text, int align = Qt::AlignLeft | Qt::AlignTop);
// The height DrawTextBlock takes for `text` in a rectangle `width` wide, in the painter's font.
int TextBlockHeight(QPainter& painter, int width, const QString& text);

// Draws one line of text whose top is at `top`, starting at `x`; a tab moves to the first of
// `stops` (offsets from `origin`) that lies to the right of the current position. Returns the
// line height.
int DrawTabbedLine(QPainter& painter, int x, int top, const QString& text, int origin, const int* stops, int stopCount);

}  // namespace trv
