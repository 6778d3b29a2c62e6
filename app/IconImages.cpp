#include "app/IconImages.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace pictarium {

QImage iconImage(ByteSpan entryImage, int side)
{
    if (entryImage.empty() || side <= 0)
        return {};
    // Qt's ICO reader stands in until the icon object of the image code takes over.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(entryImage.data()),
                                                    static_cast<qsizetype>(entryImage.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QImage best;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToNextImage())
            break;
        QImage img = reader.read();
        if (img.isNull())
            continue;
        // The image whose side is closest to 32 is the one the system would pick.
        if (best.isNull() || std::abs(img.width() - 32) < std::abs(best.width() - 32))
            best = std::move(img);
    }
    if (best.isNull())
        return {};
    best = best.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (best.width() == side && best.height() == side)
        return best;
    return best.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace pictarium
