#include "print/PdfPages.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace trv {

QByteArray DrawPdf(const QPageLayout& layout, const QString& title,
                   const std::function<bool(QPagedPaintDevice& device, QPainter& painter, const QRect& page)>& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("TRV"));
        if (!title.isEmpty()) writer.setTitle(title);
        QPainter p;
        if (p.begin(&writer)) {
            const QRect page(QPoint(0, 0), writer.pageLayout().paintRectPixels(writer.resolution()).size());
            const bool ok = paint(writer, p, page);
            painted = p.end() && ok;
        }
    }
    return painted ? buffer.data() : QByteArray();
}

}  // namespace trv
