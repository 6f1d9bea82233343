#pragma once

#include <QImage>
#include <QSize>
#include <vector>

class QPainter;

// Equally sized pictures with transparent backgrounds, drawn by index.
class ImageList
{
public:
    explicit ImageList(QSize size = {}) : m_size(size) {}

    QSize size() const { return m_size; }
    int count() const { return static_cast<int>(m_images.size()); }

    // Puts `image` at `index`, growing the list with blank pictures. An image
    // of another size is cut or padded to the list's size.
    void set(int index, const QImage& image);
    // A blank picture for an index outside the list.
    QImage image(int index) const;
    // Draws picture `index` with its top left at (x, y), blended over what is
    // there; an index outside the list draws nothing.
    void draw(QPainter& painter, int x, int y, int index) const;

private:
    QSize m_size;
    std::vector<QImage> m_images;
};
