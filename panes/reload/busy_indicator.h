#pragma once
// An indeterminate progress indicator: a ring of spokes whose bright spoke turns while work
// goes on. It is a progress bar without a range, so assistive technology reports it as one.
// It turns only while it is shown.
#include <QProgressBar>

class QTimer;

namespace kavrino {

class BusyIndicator final : public QProgressBar {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool isTurning() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* m_timer;
    int m_step = 0;
};

}  // namespace kavrino
