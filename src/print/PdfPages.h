#pragma once
// The printouts' PDF files: pages drawn into memory on a fine grid (text and lines stay vector
// graphics), then written safely, so a failed drawing never leaves half a file behind.
#include <QByteArray>
#include <QPageLayout>
#include <QRect>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace trv {

// `paint` draws every page with `painter` on `device` (newPage() between pages) into `page`, the
// printable rectangle; false when it could not. The document's bytes, or none where drawing failed.
QByteArray DrawPdf(const QPageLayout& layout, const QString& title,
                   const std::function<bool(QPagedPaintDevice& device, QPainter& painter, const QRect& page)>& paint);

}  // namespace trv
