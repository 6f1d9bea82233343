#include "main/print/printout.h"

#include "main/draw/rules/chart.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

namespace print {
namespace {

const QColor kInk = Qt::black;

} // namespace

QFont reportFont(report::Font font, int unit)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, (font == report::Font::Small ? 9 : 11) * unit));
    f.setBold(font == report::Font::Title);
    f.setItalic(font == report::Font::Title);
    // Glyphs scale with the page, not snapped to the device's pixel grid.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int penWidth(int unit)
{
    return std::max(1, unit / 4);
}

QStringList noteLines(const QString& note, int unit, QPaintDevice* device)
{
    QStringList lines;
    if (note.isEmpty())
        return lines;
    const QFont font = reportFont(report::Font::Small, unit);
    const qreal width = (report::kNoteRight - 60) * unit;
    QString text = note;
    text.remove(u'\r');
    for (const QString& paragraph : text.split(u'\n')) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            // The blanks a line is broken at belong to its end.
            QString printed = paragraph.mid(line.textStart(), line.textLength());
            while (!printed.isEmpty() && printed.back().isSpace())
                printed.chop(1);
            lines << printed;
        }
        layout.endLayout();
    }
    return lines;
}

QString fitted(const QString& text, const QFont& font, QPaintDevice* device, qreal width)
{
    // Qt ends the text in three dots where the font has no "…".
    return QFontMetricsF(font, device).elidedText(text, Qt::ElideRight, width);
}

void paintPage(QPainter& painter, int unit, QSize page, const report::Page& ops)
{
    const int w = penWidth(unit);
    for (const report::Op& op : ops) {
        switch (op.kind) {
        case report::Op::Kind::Box: {
            const QRect r(op.box.left() * unit, op.box.top() * unit, op.box.width() * unit,
                          op.box.height() * unit);
            painter.fillRect(r, Qt::white);
            painter.fillRect(QRect(r.left(), r.top(), r.width(), w), kInk);
            painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), kInk);
            painter.fillRect(QRect(r.left(), r.top(), w, r.height()), kInk);
            painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), kInk);
            break;
        }
        case report::Op::Kind::Line: {
            const QLine& l = op.line;
            const int x1 = std::min(l.x1(), l.x2()) * unit, y1 = std::min(l.y1(), l.y2()) * unit;
            if (l.y1() == l.y2())
                painter.fillRect(QRect(x1, y1, std::abs(l.dx()) * unit, w), kInk);
            else
                painter.fillRect(QRect(x1, y1, w, std::abs(l.dy()) * unit), kInk);
            break;
        }
        case report::Op::Kind::Text: {
            const QFont font = reportFont(op.font, unit);
            painter.setFont(font);
            painter.setPen(kInk);
            const QPoint at(op.at.x() * unit, op.at.y() * unit);
            if (op.clipRight > 0) {
                // The cell's text ends before the rule at its right.
                const QRect cell(at, QPoint(op.clipRight * unit - w - 1, at.y() + 20 * unit));
                painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop,
                                 fitted(op.text, font, painter.device(), cell.width()));
            } else {
                painter.drawText(QRect(at, QSize(std::max(1, page.width() - at.x()), 20 * unit)),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, op.text);
            }
            break;
        }
        }
    }
}

void paint(QPainter& painter, QSize page, const Content& content, const std::function<void()>& newPage)
{
    const report::PageFormat format{page.width(), page.height()};
    const int unit = format.unit();
    std::vector<report::Page> pages;
    switch (content.folder) {
    case 1:
        pages = report::goalPages(content.title, content.goals);
        break;
    case 2:
        pages = report::notePages(format, content.title, noteLines(content.note, unit, painter.device()));
        break;
    case 3:
        pages = report::foodPages(format, content.title, content.food, content.totals, content.kcal);
        break;
    case 4:
        pages =
            report::activityPages(format, content.title, content.activities, content.totals, content.kcal);
        break;
    default:
        if (content.chart) {
            content.chart(painter, page);
            // On screen the picture's edges cut the chart. On paper the box
            // and label of a month begun before the first day reach left of
            // it, and the frame's lines half a line's width out; the chart
            // clips each label to its own box only, so what lies outside is
            // whitened.
            const int q = chart::printScale(page.width(), page.height());
            const QRect frame(0, 0, chart::kWidth * q, chart::kHeight * q);
            const int w = page.width(), h = page.height();
            painter.fillRect(QRect(-w, -h, w, frame.height() + 2 * h), Qt::white);
            painter.fillRect(QRect(frame.right() + 1, -h, w, frame.height() + 2 * h), Qt::white);
            painter.fillRect(QRect(0, -h, frame.width(), h), Qt::white);
            painter.fillRect(QRect(0, frame.bottom() + 1, frame.width(), h), Qt::white);
        }
        return;
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            newPage();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        paintPage(painter, unit, page, pages[i]);
        painter.restore();
    }
}

QByteArray pdf(const Content& content, const QPageLayout& layout)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kLayoutDpi);
    writer.setPageLayout(layout);
    writer.setCreator(QStringLiteral("Kelvara"));
    writer.setTitle(content.title);
    QPainter painter(&writer);
    try {
        paint(painter, QSize(writer.width(), writer.height()), content, [&writer] { writer.newPage(); });
    } catch (...) {
        painter.end();
        throw;
    }
    painter.end();
    buffer.close();
    return bytes;
}

QPageLayout defaultPdfLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

} // namespace print
