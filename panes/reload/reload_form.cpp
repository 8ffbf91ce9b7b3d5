#include "panes/reload/reload_form.h"

#include "app/theme/components/form_section.h"
#include "app/theme/components/menu_picker.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "app/theme/typeface.h"
#include "panes/reload/charge_slider.h"
#include "panes/reload/elided_label.h"
#include "panes/reload/reload_selection.h"
#include "panes/reload/reload_texts.h"
#include "reload/reload_catalog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kavrino {

namespace {

constexpr int kMinimumWidth = 300;
constexpr int kMaximumWidth = 420;
constexpr int kUnitColumnWidth = 30;

// The platform's secondary text: the primary text at lower contrast.
QColor secondaryText() { return QColor::fromRgbF(1, 1, 1, 0.55f); }

// Changes only by a row picked from its open list: a wheel turn while scrolling the form passes
// over it instead of choosing another cartridge or load and resetting the charge.
MenuPicker* picker(const char* objectName, const QString& accessibleName) {
    auto* box = new MenuPicker;
    box->setObjectName(QString::fromLatin1(objectName));
    box->setAccessibleName(accessibleName);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    box->view()->setMinimumWidth(240);
    // A drop-down list of at most 24 rows: a cartridge may have hundreds of loads.
    box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    box->setMaxVisibleItems(24);
    return box;
}

QHBoxLayout* controlRow(const QString& label, QWidget* control) {
    auto* row = new QHBoxLayout;
    row->addWidget(plainLabel(label, uiFont(13), Palette::textPrimary()));
    row->addStretch(1);
    row->addWidget(control, 0, Qt::AlignVCenter);
    return row;
}

// An info row: the label, then the value in the secondary style on one line at the far end.
QWidget* infoRow(FormSection* section, const QString& label, const char* objectName, ElidedLabel** value) {
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addWidget(plainLabel(label, uiFont(13), Palette::textPrimary()));
    *value = new ElidedLabel;
    (*value)->setObjectName(QString::fromLatin1(objectName));
    (*value)->setFont(uiFont(13));
    (*value)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColour(**value, secondaryText());
    row->addWidget(*value, 1);
    return section->addRow(row);
}

void setItems(QComboBox* box, const QList<std::pair<QString, QString>>& items) {
    const QSignalBlocker quiet(box);
    box->clear();
    for (const auto& [text, tag] : items) box->addItem(text, tag);
}

}  // namespace

ReloadForm::ReloadForm(ReloadSelection& selection, QWidget* parent) : QScrollArea(parent), m_selection(selection) {
    setObjectName(QStringLiteral("reloadForm"));
    preparePaneScrollArea(*this);
    setMinimumWidth(kMinimumWidth);
    setMaximumWidth(kMaximumWidth);

    auto* form = new QWidget;
    form->setObjectName(QStringLiteral("reloadFormContent"));
    auto* sections = new QVBoxLayout(form);
    sections->setContentsMargins(16, 16, 16, 16);
    sections->setSpacing(18);

    auto* cartridge = new FormSection(tr("Cartridge"), form);
    m_cartridgePicker = picker("cartridgePicker", tr("Cartridge"));
    connect(m_cartridgePicker, &QComboBox::activated, this,
            [this](int index) { m_selection.setCartridge(m_cartridgePicker->itemData(index).toString()); });
    cartridge->addRow(controlRow(tr("Cartridge"), m_cartridgePicker));
    m_capacityRow = infoRow(cartridge, tr("Case capacity"), "caseCapacityValue", &m_capacity);
    m_maxPressureRow = infoRow(cartridge, tr("Max pressure"), "maxPressureValue", &m_maxPressure);
    sections->addWidget(cartridge);

    // Titled "Load", not "Published load": the shipped loads are model-derived examples.
    auto* load = new FormSection(tr("Load"), form);
    m_loadPicker = picker("loadPicker", tr("Load"));
    connect(m_loadPicker, &QComboBox::activated, this,
            [this](int index) { m_selection.setLoadId(m_loadPicker->itemData(index).toString()); });
    load->addRow(controlRow(tr("Load"), m_loadPicker));
    m_powderRow = infoRow(load, tr("Powder"), "powderValue", &m_powder);
    m_bulletRow = infoRow(load, tr("Bullet"), "bulletValue", &m_bullet);
    m_sourceRow = infoRow(load, tr("Source"), "sourceValue", &m_source);
    sections->addWidget(load);

    auto* charge = new FormSection(tr("Charge"), form);
    auto* block = new QVBoxLayout;
    block->setSpacing(6);
    auto* chargeRow = new QHBoxLayout;
    chargeRow->addWidget(plainLabel(tr("Powder charge"), uiFont(13), Palette::textPrimary()));
    chargeRow->addStretch(1);
    m_chargeValue = plainLabel(QString(), uiFont(13, QFont::DemiBold), Palette::accentBright());
    m_chargeValue->setObjectName(QStringLiteral("chargeValue"));
    chargeRow->addWidget(m_chargeValue);
    block->addLayout(chargeRow);
    m_slider = new ChargeSlider;
    m_slider->setObjectName(QStringLiteral("chargeSlider"));
    m_slider->setAccessibleName(tr("Powder charge"));
    connect(m_slider, &ChargeSlider::chargeMoved, this, [this](double grains) { m_selection.setChargeGr(grains); });
    block->addWidget(m_slider);
    auto* ends = new QHBoxLayout;
    m_startCharge = plainLabel(QString(), uiFont(10), secondaryText());
    m_startCharge->setObjectName(QStringLiteral("startChargeLabel"));
    m_maxCharge = plainLabel(QString(), uiFont(10), secondaryText());
    m_maxCharge->setObjectName(QStringLiteral("maxChargeLabel"));
    ends->addWidget(m_startCharge);
    ends->addStretch(1);
    ends->addWidget(m_maxCharge);
    block->addLayout(ends);
    m_chargeBlock = charge->addRow(block);
    m_chargeBlock->setObjectName(QStringLiteral("chargeBlock"));

    auto* barrel = new QHBoxLayout;
    barrel->addWidget(plainLabel(tr("Barrel length"), uiFont(13), Palette::textPrimary()));
    barrel->addStretch(1);
    m_barrelLength = new NumberField;
    m_barrelLength->setObjectName(QStringLiteral("barrelLengthField"));
    m_barrelLength->setAccessibleName(tr("Barrel length"));
    connect(m_barrelLength, &NumberField::valueCommitted, this,
            [this](double inches) { m_selection.setBarrelLengthIn(inches); });
    barrel->addWidget(m_barrelLength);
    auto* unit = plainLabel(tr("in"), uiFont(13), secondaryText());
    unit->setFixedWidth(kUnitColumnWidth);
    unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    barrel->addWidget(unit);
    charge->addRow(barrel);
    sections->addWidget(charge);
    sections->addStretch(1);

    setPaneScrollContent(*this, form);
    refresh();
}

void ReloadForm::fillCartridgePicker() {
    const QStringList choices = m_selection.cartridgeChoices();
    bool same = m_cartridgePicker->count() == choices.size();
    for (int i = 0; same && i < choices.size(); ++i) same = m_cartridgePicker->itemData(i).toString() == choices[i];
    if (!same) {
        QList<std::pair<QString, QString>> items;
        for (const QString& name : choices) items.append({name, name});
        setItems(m_cartridgePicker, items);
    }
    const QSignalBlocker quiet(m_cartridgePicker);
    m_cartridgePicker->setCurrentIndex(m_cartridgePicker->findData(m_selection.cartridge()));
}

void ReloadForm::fillLoadPicker() {
    // The options of a cartridge never change once the catalog is loaded.
    const bool loaded = m_selection.catalog().loaded();
    if (!m_loadPickerFilled || m_loadPickerCartridge != m_selection.cartridge() || !loaded) {
        QList<std::pair<QString, QString>> items;
        for (const LoadOption& option : m_selection.loadOptions())
            items.append({reload_texts::loadItem(option.load), option.load.id});
        setItems(m_loadPicker, items);
        m_loadPickerCartridge = m_selection.cartridge();
        m_loadPickerFilled = loaded;
    }
    const QSignalBlocker quiet(m_loadPicker);
    m_loadPicker->setCurrentIndex(m_loadPicker->findData(m_selection.loadId()));
}

void ReloadForm::refresh() {
    fillCartridgePicker();
    const std::optional<CaseInfo> info = m_selection.caseInfo();
    m_capacityRow->setVisible(bool(info));
    m_maxPressureRow->setVisible(bool(info));
    if (info) {
        m_capacity->setFullText(reload_texts::caseCapacity(*info));
        m_maxPressure->setFullText(reload_texts::maxPressure(*info));
    }

    fillLoadPicker();
    const LoadOption* option = m_selection.selectedOption();
    for (QWidget* row : {m_powderRow, m_bulletRow, m_sourceRow}) row->setVisible(option != nullptr);
    m_chargeBlock->setVisible(option != nullptr);
    if (option) {
        m_powder->setFullText(reload_texts::powderName(option->powder));
        m_bullet->setFullText(reload_texts::bullet(option->load));
        m_source->setFullText(m_selection.sourceText(option->load));
        const double start = *option->load.startChargeGr;
        const double max = *option->load.maxChargeGr;
        m_chargeValue->setText(reload_texts::charge(m_selection.chargeGr()));
        m_slider->setChargeRange(start, max);
        m_slider->setCharge(m_selection.chargeGr());
        m_startCharge->setText(reload_texts::startCharge(start));
        m_maxCharge->setText(reload_texts::maxCharge(max));
    }
    m_barrelLength->setValue(m_selection.barrelLengthIn());
}

}  // namespace kavrino
