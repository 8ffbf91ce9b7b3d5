#pragma once
// The left side of the reload pane: a grouped form with the cartridge and its case data, the
// load with its powder, bullet and source, and the charge (a continuous slider between the
// load's start and maximum charge) with the barrel length. It shows the selection and hands
// every choice back to it.
#include <QScrollArea>

class QComboBox;
class QLabel;

namespace kavrino {

class ChargeSlider;
class ElidedLabel;
class NumberField;
class ReloadSelection;

class ReloadForm final : public QScrollArea {
    Q_OBJECT
public:
    explicit ReloadForm(ReloadSelection& selection, QWidget* parent = nullptr);

    // Shows the selection again; cheap when only the charge or barrel length changed.
    void refresh();

private:
    void fillCartridgePicker();
    void fillLoadPicker();

    ReloadSelection& m_selection;
    QComboBox* m_cartridgePicker = nullptr;
    QWidget* m_capacityRow = nullptr;
    ElidedLabel* m_capacity = nullptr;
    QWidget* m_maxPressureRow = nullptr;
    ElidedLabel* m_maxPressure = nullptr;
    QComboBox* m_loadPicker = nullptr;
    QWidget* m_powderRow = nullptr;
    ElidedLabel* m_powder = nullptr;
    QWidget* m_bulletRow = nullptr;
    ElidedLabel* m_bullet = nullptr;
    QWidget* m_sourceRow = nullptr;
    ElidedLabel* m_source = nullptr;
    QWidget* m_chargeBlock = nullptr;
    QLabel* m_chargeValue = nullptr;
    ChargeSlider* m_slider = nullptr;
    QLabel* m_startCharge = nullptr;
    QLabel* m_maxCharge = nullptr;
    NumberField* m_barrelLength = nullptr;

    // What the load picker lists: the options of this cartridge.
    QString m_loadPickerCartridge;
    bool m_loadPickerFilled = false;
};

}  // namespace kavrino
