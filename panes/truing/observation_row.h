#pragma once
// One row of the truing observations editor: the range in yards and the observed come-up in
// MOA, each in a number field in the user's number format, and a button that removes the row.
// Typed values are reported once taken (Return or focus leaving); text that is not a number
// leaves the value as it was.
#include <QUuid>
#include <QWidget>

namespace kavrino {

class NumberField;
class StyledButton;

class ObservationRow final : public QWidget {
    Q_OBJECT
public:
    ObservationRow(const QUuid& id, QWidget* parent = nullptr);

    QUuid id() const { return m_id; }
    // Shows the observation; a field being typed in keeps its text.
    void setValues(double rangeYards, double dropMOA);
    // Names the fields and the button for assistive technology after the row's place (1-based).
    void setNumber(int number);

    NumberField* rangeField() const { return m_range; }
    NumberField* dropField() const { return m_drop; }
    StyledButton* removeButton() const { return m_remove; }

signals:
    void rangeCommitted(const QUuid& id, double yards);
    void dropCommitted(const QUuid& id, double moa);
    void removeClicked(const QUuid& id);

private:
    QUuid m_id;
    NumberField* m_range;
    NumberField* m_drop;
    StyledButton* m_remove;
};

}  // namespace kavrino
