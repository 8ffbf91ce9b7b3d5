#include "panes/truing/observation_row.h"

#include "app/theme/components/button_styles.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/symbol_image.h"
#include "app/theme/palette.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"

#include <QHBoxLayout>
#include <QLabel>

namespace kavrino {
namespace {

constexpr int kFieldWidth = 80;
constexpr int kArrowSide = 10;  // the symbol at the caption-2 size

QLabel* unitLabel(const QString& text, QWidget* parent) {
    return plainLabel(text, uiFont(13), Palette::textTertiary(), parent);
}

// The platform's primary label colour, which a symbol without a colour of its own takes.
QColor primaryLabel() { return QColor::fromRgbF(1, 1, 1, 0.85f); }

}  // namespace

ObservationRow::ObservationRow(const QUuid& id, QWidget* parent) : QWidget(parent), m_id(id) {
    setObjectName(QStringLiteral("observationRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    m_range = new NumberField(this);
    m_range->setObjectName(QStringLiteral("observationRangeField"));
    m_range->setFixedWidth(kFieldWidth);
    m_range->setPlaceholderText(tr("yd"));
    m_drop = new NumberField(this);
    m_drop->setObjectName(QStringLiteral("observationDropField"));
    m_drop->setFixedWidth(kFieldWidth);
    m_drop->setPlaceholderText(tr("MOA"));
    m_remove = new StyledButton(symbolIcon(QStringLiteral("minus")), tr("Remove observation"), IconButtonStyle{}, this);
    m_remove->setObjectName(QStringLiteral("removeObservationButton"));

    row->addWidget(m_range);
    row->addWidget(unitLabel(tr("yd"), this));
    row->addWidget(new SymbolImage(QStringLiteral("arrow.right"), kArrowSide, primaryLabel(), this), 0, Qt::AlignVCenter);
    row->addWidget(m_drop);
    row->addWidget(unitLabel(tr("MOA"), this));
    row->addWidget(m_remove);
    row->addStretch(1);

    connect(m_range, &NumberField::valueCommitted, this, [this](double yards) { emit rangeCommitted(m_id, yards); });
    connect(m_drop, &NumberField::valueCommitted, this, [this](double moa) { emit dropCommitted(m_id, moa); });
    connect(m_remove, &QPushButton::clicked, this, [this] { emit removeClicked(m_id); });
}

void ObservationRow::setValues(double rangeYards, double dropMOA) {
    m_range->setValue(rangeYards);
    m_drop->setValue(dropMOA);
}

void ObservationRow::setNumber(int number) {
    m_range->setAccessibleName(tr("Observation %1 range (yd)").arg(number));
    m_drop->setAccessibleName(tr("Observation %1 come-up (MOA)").arg(number));
    m_remove->setAccessibleName(tr("Remove observation %1").arg(number));
}

}  // namespace kavrino
