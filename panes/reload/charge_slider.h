#pragma once
// The continuous powder-charge slider: any charge between the load's start and maximum charge,
// with no step (the travel is divided finely enough that every pixel is a new charge). The
// ends give the start and the maximum exactly. Assistive technology reads and sets the charge
// in grains, not the slider's internal positions.
#include <QSlider>

namespace kavrino {

class ChargeSlider final : public QSlider {
    Q_OBJECT
public:
    explicit ChargeSlider(QWidget* parent = nullptr);

    // The charges at the two ends, in grains (start below maximum).
    void setChargeRange(double startGr, double maxGr);
    double startCharge() const { return m_start; }
    double maxCharge() const { return m_max; }

    // Shows `grains` (held within the range for the knob); emits nothing.
    void setCharge(double grains);
    double charge() const { return m_charge; }

    // Moves to `grains` (held within the range) as the user would, with chargeMoved().
    void moveTo(double grains);

signals:
    // The user moved the slider (mouse, keyboard or assistive technology).
    void chargeMoved(double grains);

private:
    void positionChanged(int position);
    double chargeAt(int position) const;
    int positionOf(double grains) const;
    void announce();

    double m_start = 0.0;
    double m_max = 1.0;
    double m_charge = 0.0;
    bool m_settingPosition = false;
};

}  // namespace kavrino
