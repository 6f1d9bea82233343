#include "main/draw/drawnbutton.h"

#include "main/draw/pictures/pictures.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

DrawnButton::DrawnButton(QWidget* parent, IconMaker icon) : QToolButton(parent), m_icon(std::move(icon))
{
    setIcon(m_icon(palette()));
}

void DrawnButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        setIcon(m_icon(palette()));
}

WordButton::WordButton(QWidget* parent, const QString& word)
    : DrawnButton(parent, [word](const QPalette& palette) {
          // Readable on the face and on the tint of the pressed button.
          const pictures::Inks onFace = pictures::inksOn(palette);
          const QColor ink = onFace.body();
          const pictures::Inks onTint{downFill(palette), ink};
          return pictures::categoryWord(word, onTint.text(ink));
      })
{
    setText(word);
}

QColor WordButton::downFill(const QPalette& palette)
{
    const QColor face = palette.color(QPalette::Button);
    const QColor highlight = palette.color(QPalette::Highlight);
    constexpr double tint = 0.3;
    return QColor::fromRgbF(face.redF() + (highlight.redF() - face.redF()) * tint,
                            face.greenF() + (highlight.greenF() - face.greenF()) * tint,
                            face.blueF() + (highlight.blueF() - face.blueF()) * tint);
}

QColor WordButton::downEdge(const QPalette& palette)
{
    const pictures::Inks onFace = pictures::inksOn(palette);
    return onFace.mark(palette.color(QPalette::Highlight));
}

void WordButton::paintEvent(QPaintEvent* event)
{
    if (!isChecked()) {
        QToolButton::paintEvent(event);
        return;
    }
    QStylePainter p(this);
    p.fillRect(rect(), downFill(palette()));
    p.setPen(downEdge(palette()));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QStyleOptionToolButton option;
    initStyleOption(&option);
    p.drawControl(QStyle::CE_ToolButtonLabel, option);
}
