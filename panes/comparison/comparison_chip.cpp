#include "panes/comparison/comparison_chip.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "core/format.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include <cmath>  // std::trunc

namespace kavrino {
namespace {

constexpr int kDotSide = 9;
constexpr int kSymbolSide = 8;   // the "xmark" glyph at 9 points
constexpr int kRemoveSide = 14;  // its hit area

// The dot in the load's colour; drawn by the chip, which knows the colour.
class ChipDot final : public QWidget {
public:
    explicit ChipDot(QWidget* parent) : QWidget(parent) {
        setFixedSize(kDotSide, kDotSide);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QColor colour;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(rect()));
    }
};

}  // namespace

QString comparisonChipText(const QString& name, double muzzleVelocity) {
    // Truncated toward zero; "%.0f" of the truncated value prints any finite size exactly, and
    // adding 0.0 turns a truncated -0.5 into 0 rather than "-0".
    const double whole = std::trunc(muzzleVelocity) + 0.0;
    return name + QStringLiteral(" \u00b7 ") + qformat("%.0f", whole) + QStringLiteral(" fps");
}

ChipRemoveButton::ChipRemoveButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ChipRemoveButton::sizeHint() const { return {kRemoveSide, kRemoveSide}; }

void ChipRemoveButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (isDown()) painter.setOpacity(0.6);
    const QPixmap symbol = tintedPixmap(symbolIcon(QStringLiteral("xmark")), Palette::textSecondary(),
                                        kSymbolSide, devicePixelRatioF());
    const QRectF place((width() - kSymbolSide) / 2.0, (height() - kSymbolSide) / 2.0, kSymbolSide, kSymbolSide);
    painter.drawPixmap(place, symbol, QRectF(symbol.rect()));
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(withOpacity(Palette::accentBright(), 0.8), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

ComparisonChip::ComparisonChip(const QString& text, const QColor& colour, QWidget* parent)
    : QWidget(parent), m_colour(colour) {
    setObjectName(QStringLiteral("comparisonChip"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(8);

    auto* dot = new ChipDot(this);
    dot->colour = colour;
    m_dot = dot;
    m_text = new QLabel(text, this);
    m_text->setObjectName(QStringLiteral("chipText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setFont(uiFont(12, QFont::Medium));
    setTextColour(*m_text, Palette::textPrimary());
    m_remove = new ChipRemoveButton(this);
    m_remove->setObjectName(QStringLiteral("chipRemoveButton"));
    m_remove->setAccessibleName(tr("%1, remove").arg(text));
    m_remove->setToolTip(tr("Remove"));
    connect(m_remove, &QAbstractButton::clicked, this, &ComparisonChip::removeClicked);

    row->addWidget(m_dot, 0, Qt::AlignVCenter);
    row->addWidget(m_text, 0, Qt::AlignVCenter);
    row->addWidget(m_remove, 0, Qt::AlignVCenter);
    setAccessibleName(text);
}

QString ComparisonChip::text() const { return m_text->text(); }

void ComparisonChip::setColour(const QColor& colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    static_cast<ChipDot*>(m_dot)->colour = colour;
    m_dot->update();
}

void ComparisonChip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCapsuleCard(painter, QRectF(rect()), Palette::panel(), Palette::stroke());
}

}  // namespace kavrino
