#pragma once
// One section of a grouped form: a heading above a rounded group of rows, with a hairline
// between neighbouring rows.
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace kavrino {

class FormSection final : public QWidget {
    Q_OBJECT
public:
    explicit FormSection(const QString& title, QWidget* parent = nullptr);

    // Adds a row holding `layout`, padded inside the group.
    QWidget* addRow(QLayout* layout);
    QString title() const;

private:
    QLabel* m_title;
    QWidget* m_group;
    QVBoxLayout* m_rows;
};

}  // namespace kavrino
