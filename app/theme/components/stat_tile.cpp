#include "app/theme/components/stat_tile.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrino {
namespace {

constexpr int kPadding = 14;
constexpr int kSpacing = 5;

QLabel* tileText(const QFont& font, const QColor& colour, QWidget* parent) {
    QLabel* label = plainLabel(QString(), font, colour, parent);
    // The tile decides its width from the whole texts and fits them in itself.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return label;
}

}  // namespace

StatTile::StatTile(const QString& label, const QString& value, const QColor& accent,
                   QWidget* parent)
    : QWidget(parent), m_label(label), m_value(value), m_accent(accent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    stack->setSpacing(kSpacing);
    m_labelText = tileText(uiFont(10, QFont::DemiBold, 0.8), Palette::textTertiary(), this);
    m_labelText->setObjectName(QStringLiteral("statTileLabel"));
    m_labelText->setText(label.toUpper());
    // The UI face draws every digit at one width, so changing figures keep their places.
    m_valueText = plainLabel(QString(), uiFont(22, QFont::Bold), accent, this);
    m_valueText->setObjectName(QStringLiteral("statTileValue"));
    m_valueText->setText(value);
    stack->addWidget(m_labelText, 0, Qt::AlignLeft);
    stack->addWidget(m_valueText, 0, Qt::AlignLeft);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
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
    return QSize(valueMetrics.horizontalAdvance(QStringLiteral("0\u2026")) + 2 * kPadding, height);
}

void StatTile::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTexts();
}

void StatTile::fitTexts() {
    const int available = std::max(0, width() - 2 * kPadding);
    const auto fit = [available](QLabel* label, const QString& text) {
        label->setText(QFontMetrics(label->font()).elidedText(text, Qt::ElideRight, available));
    };
    fit(m_labelText, m_label.toUpper());
    fit(m_valueText, m_value);
}

void StatTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCard(painter, QRectF(rect()), 12, Palette::panel(), Palette::stroke());
}

}  // namespace kavrino
