#include "app/theme/components/stat_tile.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QLabel>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace kavrino {
namespace {

constexpr int kPadding = 14;
constexpr int kSpacing = 5;

// `text` in lines no wider than `width` pixels in `font`, joined by line breaks: broken at word
// boundaries, and inside a word only where the word alone is wider than a line.
QString wrapped(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString piece = text.mid(line.textStart(), line.textLength());
        while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);  // the space it broke at
        lines.append(piece);
    }
    layout.endLayout();
    return lines.join(QChar(u'\n'));
}

// The height of `text`'s lines in `font`: one line's height for a single line (an empty text
// included, so a tile waiting for its figure does not shrink), and for several the height a
// label lays them out in.
int linesHeight(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    if (!text.contains(QChar(u'\n'))) return metrics.height();
    return metrics.boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), Qt::AlignLeft | Qt::AlignTop, text).height();
}

int textWidth(int tileWidth) { return std::max(1, tileWidth - 2 * kPadding); }

// One of the tile's texts laid out in a tile `tileWidth` wide: its lines and their height.
struct TileText {
    QString lines;
    int height;
};

TileText tileText(const QString& text, const QFont& font, int tileWidth) {
    const QString lines = wrapped(text, font, textWidth(tileWidth));
    return {lines, linesHeight(lines, font)};
}

}  // namespace

StatTile::StatTile(const QString& label, const QString& value, const QColor& accent,
                   QWidget* parent)
    : QWidget(parent), m_label(label), m_value(value), m_accent(accent) {
    m_labelText = plainLabel(label.toUpper(), uiFont(10, QFont::DemiBold, 0.8), Palette::textTertiary(), this);
    m_labelText->setObjectName(QStringLiteral("statTileLabel"));
    // The UI face draws every digit at one width, so changing figures keep their places.
    m_valueText = plainLabel(value, uiFont(22, QFont::Bold), accent, this);
    m_valueText->setObjectName(QStringLiteral("statTileValue"));
    // The tile places its two texts itself, one above the other at the leading edge, and is as
    // tall as their wrapped lines at the width it is given.
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(label);
    setAccessibleDescription(value);
}

void StatTile::setValue(const QString& value) {
    if (value == m_value) return;
    m_value = value;
    setAccessibleDescription(value);
    fitTexts();
    updateGeometry();
}

void StatTile::setAccent(const QColor& accent) {
    if (accent == m_accent) return;
    m_accent = accent;
    setTextColour(*m_valueText, accent);
}

QSize StatTile::sizeHint() const {
    const int label = QFontMetrics(m_labelText->font()).horizontalAdvance(m_label.toUpper());
    const int value = QFontMetrics(m_valueText->font()).horizontalAdvance(m_value);
    return QSize(std::max(label, value) + 2 * kPadding, minimumSizeHint().height());
}

QSize StatTile::minimumSizeHint() const {
    const QFontMetrics valueMetrics(m_valueText->font());
    const int height = QFontMetrics(m_labelText->font()).height() + kSpacing + valueMetrics.height() + 2 * kPadding;
    return QSize(valueMetrics.horizontalAdvance(QStringLiteral("00")) + 2 * kPadding, height);
}

int StatTile::heightForWidth(int width) const {
    return 2 * kPadding + tileText(m_label.toUpper(), m_labelText->font(), width).height + kSpacing +
           tileText(m_value, m_valueText->font(), width).height;
}

void StatTile::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTexts();
}

void StatTile::fitTexts() {
    int top = kPadding;
    for (auto [label, whole] : {std::pair{m_labelText, m_label.toUpper()}, std::pair{m_valueText, m_value}}) {
        const TileText text = tileText(whole, label->font(), width());
        label->setText(text.lines);
        label->setGeometry(kPadding, top, textWidth(width()), text.height);
        top += text.height + kSpacing;
    }
}

void StatTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCard(painter, QRectF(rect()), 12, Palette::panel(), Palette::stroke());
}

}  // namespace kavrino
