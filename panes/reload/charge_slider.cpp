#include "panes/reload/charge_slider.h"

#include "app/theme/palette.h"
#include "panes/reload/reload_texts.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <algorithm>
#include <cmath>

namespace kavrino {

namespace {

// Positions along the travel: far more than the slider has pixels, so the charge is continuous.
constexpr int kPositions = 100000;

class ChargeSliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ChargeSliderAccessible(ChargeSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return reload_texts::charge(slider()->charge());
        return QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return slider()->charge(); }
    void setCurrentValue(const QVariant& value) override { slider()->moveTo(value.toDouble()); }
    QVariant maximumValue() const override { return slider()->maxCharge(); }
    QVariant minimumValue() const override { return slider()->startCharge(); }
    QVariant minimumStepSize() const override { return 0.0; }  // continuous

private:
    ChargeSlider* slider() const { return static_cast<ChargeSlider*>(widget()); }
};

QAccessibleInterface* accessibleChargeSlider(const QString& className, QObject* object) {
    if (className == QLatin1String("kavrino::ChargeSlider") && object && object->isWidgetType())
        return new ChargeSliderAccessible(static_cast<ChargeSlider*>(object));
    return nullptr;
}

}  // namespace

ChargeSlider::ChargeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleChargeSlider);
        return true;
    }();
    (void)installed;
    setRange(0, kPositions);
    setSingleStep(kPositions / 100);  // arrow keys: 1 % of the range
    setPageStep(kPositions / 10);
    connect(this, &QAbstractSlider::valueChanged, this, &ChargeSlider::positionChanged);
    // A thin track, filled in the accent up to a round knob.
    setStyleSheet(QStringLiteral(
                      "QSlider::groove:horizontal { height: 4px; background: %1; border-radius: 2px; }"
                      "QSlider::sub-page:horizontal { background: %2; border-radius: 2px; }"
                      "QSlider::handle:horizontal { width: 16px; height: 16px; margin: -6px 0;"
                      " border-radius: 8px; background: %3; }"
                      "QSlider::handle:horizontal:focus { border: 2px solid %2; width: 12px; height: 12px; }")
                      .arg(Palette::stroke().name(), Palette::accent().name(), Palette::textPrimary().name()));
}

void ChargeSlider::setChargeRange(double startGr, double maxGr) {
    if (startGr == m_start && maxGr == m_max) return;
    m_start = startGr;
    m_max = maxGr;
    setCharge(m_charge);
}

void ChargeSlider::setCharge(double grains) {
    m_charge = grains;
    const int position = positionOf(grains);
    if (position != value()) {
        m_settingPosition = true;
        setValue(position);
        m_settingPosition = false;
    }
    announce();
}

void ChargeSlider::moveTo(double grains) {
    if (std::isnan(grains)) return;
    const double held = std::clamp(grains, m_start, m_max);
    if (held == m_charge) return;
    setCharge(held);
    emit chargeMoved(held);
}

void ChargeSlider::positionChanged(int position) {
    if (m_settingPosition) return;
    m_charge = chargeAt(position);
    announce();
    emit chargeMoved(m_charge);
}

double ChargeSlider::chargeAt(int position) const {
    if (position <= 0) return m_start;
    if (position >= kPositions) return m_max;
    return m_start + (m_max - m_start) * (double(position) / kPositions);
}

int ChargeSlider::positionOf(double grains) const {
    const double span = m_max - m_start;
    if (!(span > 0) || std::isnan(grains)) return 0;
    const double fraction = std::clamp((grains - m_start) / span, 0.0, 1.0);
    return int(std::lround(fraction * kPositions));
}

void ChargeSlider::announce() {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent event(this, m_charge);
    QAccessible::updateAccessibility(&event);
}

}  // namespace kavrino
