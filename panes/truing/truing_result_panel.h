#pragma once
// The truing result: the trued muzzle velocity, the BC scale (only while the BC is trued too)
// and the fit error, each a metric row (a title above its value and a note), and "Apply to
// load". Figures are printf-formatted, so an infinite error reads "inf MOA" and "was inf".
#include "panes/truing/truing_model.h"

#include <QWidget>

class QLabel;

namespace kavrino {

class StyledButton;

// The three rows' texts for `result`, given the model's current velocity and BC.
struct TruingResultTexts {
    QString velocity;      // "%.0f fps", trued velocity
    QString velocityNote;  // "was %.0f", the model's current velocity
    QString bcScale;       // "×%.3f"
    QString bcScaleNote;   // "→ BC %.3f", the scaled BC
    QString rms;           // "%.3f MOA", error after
    QString rmsNote;       // "was %.3f", error before
};
TruingResultTexts truingResultTexts(const TruingModel::Result& result, double muzzleVelocity,
                                    double ballisticCoefficient);

// A title in the caption style above a value (18 points bold) with a note beside it on the
// same baseline. Assistive technology reads the title as the row's name and the value with its
// note as its description; the value and note labels each carry the title as description.
class TruingMetricRow final : public QWidget {
    Q_OBJECT
public:
    explicit TruingMetricRow(const QString& title, QWidget* parent = nullptr);
    void setFigures(const QString& value, const QString& note);

    QString title() const;
    QString value() const;
    QString note() const;

private:
    QLabel* m_title;
    QLabel* m_value;
    QLabel* m_note;
};

class TruingResultPanel final : public QWidget {
    Q_OBJECT
public:
    explicit TruingResultPanel(QWidget* parent = nullptr);

    // Shows `result`; the BC row only when `trueBC` is on.
    void showResult(const TruingModel::Result& result, const TruingModel& model);

    TruingMetricRow* velocityRow() const { return m_velocity; }
    TruingMetricRow* bcScaleRow() const { return m_bcScale; }
    TruingMetricRow* rmsRow() const { return m_rms; }
    StyledButton* applyButton() const { return m_apply; }

signals:
    void applyClicked();

private:
    TruingMetricRow* m_velocity;
    TruingMetricRow* m_bcScale;
    TruingMetricRow* m_rms;
    StyledButton* m_apply;
};

}  // namespace kavrino
