#pragma once
// The capsule search field: a magnifying glass and a frameless text field on a panel-coloured
// capsule with a 1-point inner border. It reports every change of its text at once; it has no
// submit action.
#include <QWidget>

class QLineEdit;

namespace kavrino {

class SearchField final : public QWidget {
    Q_OBJECT
public:
    explicit SearchField(const QString& placeholder, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    QString text() const;

signals:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* m_edit;
};

}  // namespace kavrino
