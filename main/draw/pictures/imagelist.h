#pragma once

#include <QImage>
#include <QSize>
#include <vector>

class QPainter;

// Equally sized pictures with transparent backgrounds, drawn by index. The
// pictures are held at a ratio of device pixels to logical ones, so that
// they are drawn at a screen's resolution; sizes and places are logical.
class ImageList
{
public:
    explicit ImageList(QSize size = {}, double ratio = 1) : m_size(size), m_ratio(ratio) {}

    QSize size() const { return m_size; }
    double ratio() const { return m_ratio; }
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
    QImage blank() const;

    QSize m_size;
    double m_ratio;
    std::vector<QImage> m_images;
};
