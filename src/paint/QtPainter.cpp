#include "paint/QtPainter.h"

#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <algorithm>

namespace tavrok::paint {

namespace {

// Liberation Sans is metric-compatible with Arial: 19 pixels to the em give the 22-pixel
// character cell of Arial at height 22.
constexpr int emPixels = 19;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toQColor(support::Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QFont makeFont(int weight) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(emPixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

QtPainter::QtPainter(support::RgbImage& image, const QFont& font)
    : m_image(image.data(), image.width(), image.height(),
              static_cast<qsizetype>(image.bytesPerLine()), QImage::Format_RGB888) {
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setFont(font);
}

QtPainter::~QtPainter() {
    m_painter->end();
}

void QtPainter::drawLine(int x0, int y0, int x1, int y1, support::Rgb colour, int width) {
    m_painter->setPen(QPen(toQColor(colour), std::max(1, width)));
    m_painter->drawLine(x0, y0, x1, y1);
}

void QtPainter::drawText(int x, int y, std::string_view text, support::Rgb colour) {
    m_painter->setPen(toQColor(colour));
    const QFontMetrics metrics(m_painter->font());
    m_painter->drawText(x, y + metrics.ascent(), toQString(text));
}

int QtPainter::textWidth(std::string_view text) const {
    return QFontMetrics(m_painter->font()).horizontalAdvance(toQString(text));
}

int QtPainter::lineHeight() const {
    return QFontMetrics(m_painter->font()).height();
}

int QtPainter::averageCharWidth() const {
    return QFontMetrics(m_painter->font()).averageCharWidth();
}

QFont QtPainter::largeFont() {
    return makeFont(500);
}

QFont QtPainter::textFont() {
    return makeFont(400);
}

support::PainterFactory QtPainter::factory() {
    return [](support::RgbImage& image) -> std::unique_ptr<support::Painter> {
        if (image.empty()) {
            return nullptr;
        }
        return std::make_unique<QtPainter>(image);
    };
}

QImage toQImage(const support::RgbImage& image) {
    const QImage view(image.data(), image.width(), image.height(),
                      static_cast<qsizetype>(image.bytesPerLine()), QImage::Format_RGB888);
    return view.copy();
}

}  // namespace tavrok::paint
