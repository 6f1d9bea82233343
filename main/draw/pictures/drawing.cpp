#include "main/draw/pictures/drawing.h"

#include <QPainter>

#include <cmath>

namespace pictures::detail {

QImage blank(int width, int height, double ratio)
{
    QImage image(static_cast<int>(std::ceil(width * ratio - 1e-9)), static_cast<int>(std::ceil(height * ratio - 1e-9)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

QFont arial(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    // Small figures of the scales stand close together; a little less
    // spacing keeps them apart.
    if (pixelSize < 10)
        font.setLetterSpacing(QFont::AbsoluteSpacing, -0.3);
    return font;
}

void drawText(QPainter& p, const QRect& rect, int flags, const QString& text, const QColor& colour,
              int pixelSize, bool bold)
{
    p.save();
    p.setFont(arial(pixelSize, bold));
    p.setPen(colour);
    p.drawText(rect, flags, text);
    p.restore();
}

} // namespace pictures::detail
