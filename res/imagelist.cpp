#include "res/imagelist.h"

#include <QPainter>

namespace {

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

void ImageList::set(int index, const QImage& image)
{
    while (count() <= index)
        m_images.push_back(blank(m_size));
    QImage fitted = blank(m_size);
    QPainter p(&fitted);
    p.drawImage(0, 0, image);
    p.end();
    m_images[static_cast<size_t>(index)] = fitted;
}

QImage ImageList::image(int index) const
{
    if (index < 0 || index >= count())
        return blank(m_size);
    return m_images[static_cast<size_t>(index)];
}

void ImageList::draw(QPainter& painter, int x, int y, int index) const
{
    if (index < 0 || index >= count())
        return;
    painter.drawImage(x, y, m_images[static_cast<size_t>(index)]);
}
