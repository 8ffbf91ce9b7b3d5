#include "panes/truing/truing_result_panel.h"

#include "app/theme/components/button_styles.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/section_label.h"
#include "app/theme/palette.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "core/format.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>  // std::max

namespace kavrino {
namespace {

}  // namespace

TruingResultTexts truingResultTexts(const TruingModel::Result& result, double muzzleVelocity,
                                    double ballisticCoefficient) {
    return {
        qformat("%.0f fps", result.muzzleVelocity),
        qformat("was %.0f", muzzleVelocity),
        qformat("\u00d7%.3f", result.bcScale),
        qformat("\u2192 BC %.3f", ballisticCoefficient * result.bcScale),
        qformat("%.3f MOA", result.rmsAfter),
        qformat("was %.3f", result.rmsBefore),
    };
}

TruingMetricRow::TruingMetricRow(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    m_title = plainLabel(QString(), uiFont(10), Palette::textSecondary(), this);
    m_title->setObjectName(QStringLiteral("metricTitle"));
    m_title->setText(title);
    m_value = plainLabel(QString(), uiFont(18, QFont::Bold), Palette::textPrimary(), this);
    m_value->setObjectName(QStringLiteral("metricValue"));
    m_value->setAccessibleDescription(title);
    m_note = plainLabel(QString(), uiFont(10), Palette::textTertiary(), this);
    m_note->setObjectName(QStringLiteral("metricNote"));
    m_note->setAccessibleDescription(title);
    // Value and note share their baseline: the smaller note sits higher by the difference of
    // the two faces' descents.
    const int lift = QFontMetrics(m_value->font()).descent() - QFontMetrics(m_note->font()).descent();
    m_note->setContentsMargins(0, 0, 0, std::max(0, lift));

    auto* figures = new QHBoxLayout;
    figures->setContentsMargins(0, 0, 0, 0);
    figures->setSpacing(8);
    figures->addWidget(m_value, 0, Qt::AlignBottom);
    figures->addWidget(m_note, 0, Qt::AlignBottom);
    figures->addStretch(1);
    column->addWidget(m_title);
    column->addLayout(figures);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
}

void TruingMetricRow::setFigures(const QString& value, const QString& note) {
    m_value->setText(value);
    m_note->setText(note);
    setAccessibleDescription(tr("%1, %2").arg(value, note));
}

QString TruingMetricRow::title() const { return m_title->text(); }
QString TruingMetricRow::value() const { return m_value->text(); }
QString TruingMetricRow::note() const { return m_note->text(); }

TruingResultPanel::TruingResultPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("truingResult"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    column->addWidget(new SectionLabel(tr("Result"), this));
    m_velocity = new TruingMetricRow(tr("Trued muzzle velocity"), this);
    m_velocity->setObjectName(QStringLiteral("truedVelocityRow"));
    m_bcScale = new TruingMetricRow(tr("BC scale"), this);
    m_bcScale->setObjectName(QStringLiteral("bcScaleRow"));
    m_rms = new TruingMetricRow(tr("Fit error (RMS)"), this);
    m_rms->setObjectName(QStringLiteral("fitErrorRow"));
    m_apply = new StyledButton(tr("Apply to load"), SecondaryButtonStyle{Palette::orange()}, this);
    m_apply->setObjectName(QStringLiteral("applyToLoadButton"));
    m_apply->setIcon(symbolIcon(QStringLiteral("checkmark")));
    m_apply->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_apply, &QPushButton::clicked, this, &TruingResultPanel::applyClicked);
    column->addWidget(m_velocity);
    column->addWidget(m_bcScale);
    column->addWidget(m_rms);
    column->addWidget(m_apply);
}

void TruingResultPanel::showResult(const TruingModel::Result& result, const TruingModel& model) {
    const TruingResultTexts texts = truingResultTexts(result, model.muzzleVelocity(), model.ballisticCoefficient());
    m_velocity->setFigures(texts.velocity, texts.velocityNote);
    m_bcScale->setFigures(texts.bcScale, texts.bcScaleNote);
    m_bcScale->setVisible(model.trueBC());
    m_rms->setFigures(texts.rms, texts.rmsNote);
}

}  // namespace kavrino
