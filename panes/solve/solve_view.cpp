#include "panes/solve/solve_view.h"

#include "app/platform/platform.h"
#include "app/theme/components/button_styles.h"
#include "app/theme/components/form_section.h"
#include "app/theme/components/menu_picker.h"
#include "app/theme/components/metrics_strip.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/segmented_picker.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/components/toggle_switch.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "core/catalog.h"
#include "core/solve_model.h"
#include "panes/solve/dope_card_export.h"
#include "panes/solve/solve_summary.h"
#include "panes/solve/trajectory_table_view.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include <functional>

namespace kavrino {
namespace {

// Split limits, in points.
constexpr int kFormMinimumWidth = 300;
constexpr int kFormIdealWidth = 340;
constexpr int kFormMaximumWidth = 420;
constexpr int kResultsMinimumWidth = 540;
constexpr int kUnitColumnWidth = 30;  // also on rows without a unit, so the fields line up

// A form row's text: the body size.
QLabel* rowText(const QString& text, const QColor& colour) { return plainLabel(text, uiFont(13), colour); }

// The platform's secondary text: the primary text at lower contrast.
QColor secondaryText() { return QColor::fromRgbF(1, 1, 1, 0.55f); }

struct NumberRow {
    const char* objectName;
    const char* label;  // shown verbatim
    const char* unit;   // shown verbatim; empty for none
    double (SolveModel::*read)() const;
    void (SolveModel::*write)(double);
};

const NumberRow kMuzzleVelocity{"muzzleVelocityField", "Muzzle velocity", "fps",
                                    &SolveModel::muzzleVelocity, &SolveModel::setMuzzleVelocity};
const NumberRow kBallisticCoefficient{"ballisticCoefficientField", "Ballistic coefficient", "",
                                          &SolveModel::ballisticCoefficient,
                                          &SolveModel::setBallisticCoefficient};
const NumberRow kLoadTail[] = {
    {"bulletWeightField", "Bullet weight", "gr", &SolveModel::bulletWeight, &SolveModel::setBulletWeight},
    {"twistRateField", "Twist rate", "in", &SolveModel::twistRate, &SolveModel::setTwistRate},
};
const NumberRow kRifle[] = {
    {"sightHeightField", "Sight height", "in", &SolveModel::sightHeight, &SolveModel::setSightHeight},
    {"zeroRangeField", "Zero range", "yd", &SolveModel::zeroRange, &SolveModel::setZeroRange},
};
const NumberRow kEnvironment[] = {
    {"temperatureField", "Temperature", "\u00b0F", &SolveModel::temperature, &SolveModel::setTemperature},
    {"pressureField", "Pressure", "inHg", &SolveModel::pressure, &SolveModel::setPressure},
    {"altitudeField", "Altitude", "ft", &SolveModel::altitude, &SolveModel::setAltitude},
    {"windSpeedField", "Wind speed", "mph", &SolveModel::windSpeed, &SolveModel::setWindSpeed},
    {"windDirectionField", "Wind direction", "\u00b0", &SolveModel::windDirection,
     &SolveModel::setWindDirection},
    {"shootingAngleField", "Shooting angle", "\u00b0", &SolveModel::shootingAngle,
     &SolveModel::setShootingAngle},
};
const NumberRow kOutput[] = {
    {"maxRangeField", "Max range", "yd", &SolveModel::maxRange, &SolveModel::setMaxRange},
    {"rangeStepField", "Step", "yd", &SolveModel::rangeStep, &SolveModel::setRangeStep},
};

// A label at the left and `control` at the right of a form row.
QHBoxLayout* controlRow(const QString& label, QWidget* control) {
    auto* row = new QHBoxLayout;
    row->addWidget(rowText(label, Palette::textPrimary()));
    row->addStretch(1);
    row->addWidget(control, 0, Qt::AlignVCenter);
    return row;
}

}  // namespace

SolveView::SolveView(SolveModel& model, Catalog& catalog, const Platform& platform, bool demonstrationPreset,
                     QWidget* parent)
    : WorkspacePane(parent),
      m_model(model),
      m_catalog(catalog),
      m_platform(platform),
      m_demonstrationPreset(demonstrationPreset) {
    setObjectName(QStringLiteral("solveView"));
    fillWithBackground(*this);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("solveSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(1);
    m_splitter->setStyleSheet(QStringLiteral("QSplitter::handle { background: %1; }")
                                  .arg(Palette::stroke().name()));
    m_splitter->addWidget(buildForm());
    m_splitter->addWidget(buildResults());
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kFormIdealWidth, 100000});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    observe(&m_model, &SolveModel::changed, this, &SolveView::refresh);
    observe(&m_catalog, &Catalog::changed, this, &SolveView::fillBulletPicker);
    refresh();
}

SolveView::~SolveView() {
    for (const BoundField& bound : m_fields) bound.field->commitPending();
}

QWidget* SolveView::buildForm() {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("solveForm"));
    preparePaneScrollArea(*scroll);
    scroll->setMinimumWidth(kFormMinimumWidth);
    scroll->setMaximumWidth(kFormMaximumWidth);

    auto* form = new QWidget;
    form->setObjectName(QStringLiteral("solveFormContent"));
    auto* sections = new QVBoxLayout(form);
    sections->setContentsMargins(16, 16, 16, 16);
    sections->setSpacing(18);

    auto addNumberRow = [this](FormSection* section, const NumberRow& row) {
        auto* field = new NumberField;
        field->setObjectName(QString::fromLatin1(row.objectName));
        field->setAccessibleName(QString::fromUtf8(row.label));
        const NumberRow* entry = &row;  // the row tables live as long as the program
        connect(field, &NumberField::valueCommitted, this, [model = &m_model, entry](double value) {
            (model->*(entry->write))(value);
        });
        // Only Return solves; a commit on focus loss leaves the results as they are.
        connect(field, &NumberField::submitted, this, [this] { m_model.solve(); });
        m_fields.push_back({field, row.read});

        auto* layout = new QHBoxLayout;
        layout->addWidget(rowText(QString::fromUtf8(row.label), Palette::textPrimary()));
        layout->addStretch(1);
        layout->addWidget(field);
        auto* unit = rowText(QString::fromUtf8(row.unit), secondaryText());
        unit->setFixedWidth(kUnitColumnWidth);
        unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        layout->addWidget(unit);
        section->addRow(layout);
    };
    auto addToggleRow = [this](FormSection* section, const QString& title, const char* objectName,
                               std::function<void(bool)> write) {
        auto* toggle = new ToggleSwitch;
        toggle->setObjectName(QString::fromLatin1(objectName));
        toggle->setAccessibleName(title);
        // clicked() comes from the user only, never from refresh() setting the state.
        connect(toggle, &ToggleSwitch::clicked, this, [this, write = std::move(write)](bool on) {
            write(on);
            m_model.solve();
        });
        section->addRow(controlRow(title, toggle));
        return toggle;
    };

    auto* load = new FormSection(tr("Load"), form);
    // Applies a bullet only for a row picked from its open list: scrolling the form with the
    // wheel over it must not replace the load the user typed.
    m_bulletPicker = new MenuPicker;
    m_bulletPicker->setObjectName(QStringLiteral("bulletPicker"));
    m_bulletPicker->setAccessibleName(tr("Bullet"));
    m_bulletPicker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_bulletPicker->setMinimumContentsLength(14);
    m_bulletPicker->view()->setMinimumWidth(320);
    // A drop-down list of at most 24 rows: the catalog holds hundreds of bullets, so the list
    // shows its scroll bar, and rows get room to breathe.
    m_bulletPicker->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    m_bulletPicker->setMaxVisibleItems(24);
    m_bulletPicker->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_bulletPicker->view()->setStyleSheet(QStringLiteral("QListView::item { padding: 3px 6px; }"));
    useThinScrollBars(m_bulletPicker->view());
    fillBulletPicker();
    connect(m_bulletPicker, &QComboBox::activated, this, &SolveView::pickBullet);
    load->addRow(controlRow(tr("Bullet"), m_bulletPicker));
    addNumberRow(load, kMuzzleVelocity);
    addNumberRow(load, kBallisticCoefficient);
    m_dragModelPicker = new SegmentedPicker({tr("G1"), tr("G7")});
    m_dragModelPicker->setObjectName(QStringLiteral("dragModelPicker"));
    m_dragModelPicker->setAccessibleName(tr("Drag model"));
    connect(m_dragModelPicker, &SegmentedPicker::segmentClicked, this, &SolveView::pickDragModel);
    load->addRow(controlRow(tr("Drag model"), m_dragModelPicker));
    for (const NumberRow& row : kLoadTail) addNumberRow(load, row);
    sections->addWidget(load);

    auto* rifle = new FormSection(tr("Rifle & Zero"), form);
    for (const NumberRow& row : kRifle) addNumberRow(rifle, row);
    sections->addWidget(rifle);

    auto* environment = new FormSection(tr("Environment"), form);
    for (const NumberRow& row : kEnvironment) addNumberRow(environment, row);
    sections->addWidget(environment);

    auto* output = new FormSection(tr("Output"), form);
    for (const NumberRow& row : kOutput) addNumberRow(output, row);
    m_spinDrift = addToggleRow(output, tr("Spin drift"), "spinDriftToggle",
                               [this](bool on) { m_model.setIncludeSpinDrift(on); });
    m_coriolis = addToggleRow(output, tr("Coriolis"), "coriolisToggle",
                              [this](bool on) { m_model.setIncludeCoriolis(on); });
    sections->addWidget(output);
    sections->addStretch(1);

    setPaneScrollContent(*scroll, form);
    return scroll;
}

QWidget* SolveView::buildResults() {
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("solveResults"));
    column->setMinimumWidth(kResultsMinimumWidth);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(16, 16, 16, 16);
    stack->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    auto* title = new QLabel(tr("Trajectory"));
    title->setObjectName(QStringLiteral("resultsTitle"));
    title->setFont(uiFont(15, QFont::DemiBold));
    QPalette titleColours = title->palette();
    titleColours.setColor(QPalette::WindowText, Palette::textPrimary());
    title->setPalette(titleColours);
    m_solvedIn = new QLabel;
    m_solvedIn->setObjectName(QStringLiteral("solvedInLabel"));
    m_solvedIn->setFont(uiFont(10));  // the caption style
    QPalette captionColours = m_solvedIn->palette();
    captionColours.setColor(QPalette::WindowText, Palette::textTertiary());
    m_solvedIn->setPalette(captionColours);
    auto* exportButton = new StyledButton(tr("Export DOPE"), SecondaryButtonStyle{Palette::textPrimary()});
    exportButton->setObjectName(QStringLiteral("exportDopeButton"));
    exportButton->setIcon(symbolIcon(QStringLiteral("square.and.arrow.up")));
    connect(exportButton, &QPushButton::clicked, this, &SolveView::exportDopeCard);
    auto* solveButton = new StyledButton(tr("Solve"), PrimaryButtonStyle{Palette::accent()});
    solveButton->setObjectName(QStringLiteral("solveButton"));
    solveButton->setIcon(symbolIcon(QStringLiteral("scope")));
    connect(solveButton, &QPushButton::clicked, this, [this] { m_model.solve(); });
    header->addWidget(title, 0, Qt::AlignVCenter);
    header->addWidget(m_solvedIn, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(exportButton, 0, Qt::AlignVCenter);
    header->addWidget(solveButton, 0, Qt::AlignVCenter);
    stack->addLayout(header);

    m_strip = new MetricsStrip;
    stack->addWidget(m_strip);

    m_table = new TrajectoryTableView;
    PanelCard* card = panelDecoration(m_table, 0, 14);
    card->setObjectName(QStringLiteral("trajectoryCard"));
    card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    stack->addWidget(card, 1);
    return column;
}

void SolveView::fillBulletPicker() {
    const QSignalBlocker quiet(m_bulletPicker);
    m_bulletPicker->clear();
    m_bulletPicker->addItem(tr("Custom"), QString());
    for (const CatalogBullet& bullet : m_catalog.bullets()) m_bulletPicker->addItem(bulletLabel(bullet), bullet.id);
    m_bulletPicker->setCurrentIndex(0);
}

void SolveView::pickBullet(int index) {
    const QString id = m_bulletPicker->itemData(index).toString();
    // The picker is an action menu: it always reads "Custom" again.
    m_bulletPicker->setCurrentIndex(0);
    if (id.isEmpty()) return;
    for (const CatalogBullet& bullet : m_catalog.bullets()) {
        if (bullet.id == id) {
            const CatalogBullet chosen = bullet;  // apply() may outlive a catalog reload
            m_model.apply(chosen);
            return;
        }
    }
}

void SolveView::pickDragModel(int segment) {
    const DragModel chosen = segment == 0 ? DragModel::G1 : DragModel::G7;
    if (chosen == m_model.dragModel()) return;  // the selected segment again: no change
    m_model.setDragModel(chosen);
    m_model.solve();
}

void SolveView::refresh() {
    for (const BoundField& bound : m_fields) bound.field->setValue((m_model.*bound.read)());
    switch (m_model.dragModel()) {
    case DragModel::G1: m_dragModelPicker->setSelectedIndex(0); break;
    case DragModel::G7: m_dragModelPicker->setSelectedIndex(1); break;
    case DragModel::custom: m_dragModelPicker->setSelectedIndex(-1); break;
    }
    m_spinDrift->setChecked(m_model.includeSpinDrift());
    m_coriolis->setChecked(m_model.includeCoriolis());
    m_solvedIn->setText(solvedInText(m_model.lastSolveMs()));
    m_strip->setMetrics(summaryMetrics(m_model));
    m_table->setInputs(m_model.trajectory(), m_model.muzzleVelocity(), displaySpeedOfSound);
}

void SolveView::appear() {
    if (m_model.trajectory().empty() && m_demonstrationPreset) m_model.setRangeStep(50);
    if (m_model.trajectory().empty()) m_model.solve();
}

void SolveView::exportDopeCard() { kavrino::exportDopeCard(m_model, m_platform.dialogs); }

}  // namespace kavrino
