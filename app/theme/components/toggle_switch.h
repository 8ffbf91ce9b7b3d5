#pragma once
// An on/off switch for a form row: a capsule with a round knob, lit in the accent when on.
#include <QAbstractButton>

namespace kavrino {

class ToggleSwitch final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {32, 18}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kavrino
