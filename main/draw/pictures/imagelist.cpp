#include "main/draw/pictures/imagelist.h"

#include "main/draw/pictures/drawing.h"

#include <QPainter>

QImage ImageList::blank() const
{
    return pictures::detail::blank(m_size.width(), m_size.height(), m_ratio);
}

void ImageList::set(int index, const QImage& image)
{
    while (count() <= index)
        m_images.push_back(blank());
    QImage fitted = blank();
    QPainter p(&fitted);
    p.drawImage(0, 0, image);
    p.end();
    m_images[static_cast<size_t>(index)] = fitted;
}

QImage ImageList::image(int index) const
{
    if (index < 0 || index >= count())
        return blank();
    return m_images[static_cast<size_t>(index)];
}

void ImageList::draw(QPainter& painter, int x, int y, int index) const
{
    if (index < 0 || index >= count())
        return;
    painter.drawImage(x, y, m_images[static_cast<size_t>(index)]);
}
