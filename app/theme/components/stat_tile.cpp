#include "app/theme/components/stat_tile.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kavrino {
namespace {

}  // namespace

StatTile::StatTile(const QString& label, const QString& value, const QColor& accent,
                   QWidget* parent)
    : QWidget(parent), m_label(label), m_value(value), m_accent(accent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(14, 14, 14, 14);
    stack->setSpacing(5);
    m_labelText = plainLabel(QString(), uiFont(10, QFont::DemiBold, 0.8), Palette::textTertiary(), this);
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
    m_valueText->setText(value);
    setAccessibleDescription(value);
}

void StatTile::setAccent(const QColor& accent) {
    if (accent == m_accent) return;
    m_accent = accent;
    setTextColour(*m_valueText, accent);
}

void StatTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCard(painter, QRectF(rect()), 12, Palette::panel(), Palette::stroke());
}

}  // namespace kavrino
