#include "panes/comparison/comparison_view.h"

#include "app/platform/platform.h"
#include "app/theme/components/button_styles.h"
#include "app/theme/components/menu_picker.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/symbol_image.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "core/catalog.h"
#include "panes/comparison/chip_row_layout.h"
#include "panes/comparison/comparison_chart.h"
#include "panes/comparison/comparison_chip.h"
#include "panes/comparison/comparison_colours.h"
#include "panes/comparison/comparison_export.h"
#include "panes/comparison/comparison_model.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrino {
namespace {

// Every bullet added from the picker is fired at this velocity.
constexpr double kPickedMuzzleVelocity = 2700;  // ft/s
constexpr int kPickerWidth = 320;

// The demonstration loads, in order: the first factory load whose name contains the whole
// name, else the first whose name starts with its first four characters.
const char* const kPresetLoads[] = {
    "6.5 Creedmoor 140gr ELD Match",
    ".308 Winchester 175gr SMK",
    "300 Win Mag",
};

const CatalogCartridge* findPresetCartridge(const std::vector<CatalogCartridge>& cartridges, const QString& name) {
    for (const CatalogCartridge& c : cartridges) {
        if (c.name.contains(name, Qt::CaseSensitive)) return &c;
    }
    const QString prefix = name.left(4);
    for (const CatalogCartridge& c : cartridges) {
        if (c.name.startsWith(prefix, Qt::CaseSensitive)) return &c;
    }
    return nullptr;
}

}  // namespace

ComparisonView::ComparisonView(Catalog& catalog, const Platform& platform, bool demonstrationPreset,
                               QWidget* parent)
    : WorkspacePane(parent),
      m_catalog(catalog),
      m_platform(platform),
      m_demonstrationPreset(demonstrationPreset),
      m_model(new ComparisonModel(this)) {
    setObjectName(QStringLiteral("comparisonView"));
    fillWithBackground(*this);

    // The chart keeps its minimum height and every chip stays in view, so when the window is
    // too short for both the pane scrolls rather than cut its bottom off.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("comparisonScroll"));
    preparePaneScrollArea(*m_scroll);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("comparisonContent"));
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(16, 16, 16, 16);
    stack->setSpacing(16);

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    m_picker = new MenuPicker;
    m_picker->setObjectName(QStringLiteral("loadPicker"));
    m_picker->setAccessibleName(tr("Load to compare"));
    m_picker->setFixedWidth(kPickerWidth);
    // A drop-down list of at most 24 rows: the catalog holds hundreds of bullets.
    m_picker->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    m_picker->setMaxVisibleItems(24);
    fillPicker();
    // A row picked from the open list; the wheel and keys on the closed picker add nothing.
    connect(m_picker, &QComboBox::activated, this, &ComparisonView::pickBullet);
    m_export = new StyledButton(tr("Export CSV"), SecondaryButtonStyle{Palette::textPrimary()});
    m_export->setObjectName(QStringLiteral("exportCsvButton"));
    m_export->setIcon(symbolIcon(QStringLiteral("square.and.arrow.up")));
    connect(m_export, &QPushButton::clicked, this, &ComparisonView::exportCSV);
    header->addWidget(m_picker, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_export, 0, Qt::AlignVCenter);
    stack->addLayout(header);

    m_emptyState = panelDecoration(buildEmptyState(), 28, 14);
    m_emptyState->setObjectName(QStringLiteral("comparisonEmptyState"));
    m_emptyState->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    stack->addWidget(m_emptyState, 1);

    m_chipRow = new QWidget;
    m_chipRow->setObjectName(QStringLiteral("chipRow"));
    new ChipRowLayout(m_chipRow);
    stack->addWidget(m_chipRow);

    auto* chartContent = new QWidget;
    auto* chartStack = new QVBoxLayout(chartContent);
    chartStack->setContentsMargins(0, 0, 0, 0);
    chartStack->setSpacing(10);
    auto* title = plainLabel(tr("Elevation come-up"), uiFont(15, QFont::DemiBold), Palette::textPrimary());
    title->setObjectName(QStringLiteral("chartTitle"));
    chartStack->addWidget(title, 0, Qt::AlignLeft);
    m_chart = new ComparisonChart;
    chartStack->addWidget(m_chart, 1);
    m_chartCard = panelDecoration(chartContent, 16, 14);
    m_chartCard->setObjectName(QStringLiteral("comparisonChartCard"));
    m_chartCard->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    stack->addWidget(m_chartCard, 1);

    setPaneScrollContent(*m_scroll, content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    connect(m_model, &ComparisonModel::changed, this, &ComparisonView::refresh);
    observe(&m_catalog, &Catalog::changed, this, &ComparisonView::fillPicker);
    refresh();
}

QWidget* ComparisonView::buildEmptyState() {
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    auto* symbol = new SymbolImage(QStringLiteral("chart.xyaxis.line"), 42, withOpacity(Palette::accent(), 0.7));
    auto* title = plainLabel(tr("Compare loads side by side"), uiFont(16, QFont::DemiBold), Palette::textPrimary());
    title->setObjectName(QStringLiteral("emptyStateTitle"));
    auto* text = plainLabel(tr("Add two or more loads to chart their elevation come-up across the range."),
                           calloutFont(), Palette::textSecondary());
    text->setObjectName(QStringLiteral("emptyStateText"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    column->addStretch(1);
    column->addWidget(symbol, 0, Qt::AlignHCenter);
    column->addWidget(title, 0, Qt::AlignHCenter);
    column->addWidget(text);  // the card's width, so it wraps only when the card is narrower
    column->addStretch(1);
    return content;
}

void ComparisonView::fillPicker() {
    const QSignalBlocker quiet(m_picker);
    m_picker->clear();
    m_picker->addItem(tr("Add a load to compare\u2026"), QString());
    for (const CatalogBullet& bullet : m_catalog.bullets()) m_picker->addItem(bulletLabel(bullet), bullet.id);
    m_picker->setCurrentIndex(0);
}

void ComparisonView::pickBullet(int index) {
    const QString id = m_picker->itemData(index).toString();
    if (id.isEmpty()) return;
    for (const CatalogBullet& bullet : m_catalog.bullets()) {
        if (bullet.id == id) {
            const CatalogBullet chosen = bullet;
            batched([&] { m_model->add(chosen, kPickedMuzzleVelocity); });
            m_picker->setCurrentIndex(0);  // the placeholder shows again
            return;
        }
    }
    // No bullet has that id any more: nothing is added and the choice stays.
}

template <typename Operation>
void ComparisonView::batched(Operation operation) {
    m_batching = true;
    operation();
    m_batching = false;
    refresh();
}

void ComparisonView::refresh() {
    if (m_batching) return;
    const bool empty = m_model->loads().empty();
    m_export->setVisible(!empty);
    m_emptyState->setVisible(empty);
    m_chipRow->setVisible(!empty);
    m_chartCard->setVisible(!empty);
    syncChips();
    m_chart->setLoads(m_model->loads());
}

void ComparisonView::syncChips() {
    const std::vector<ComparisonModel::Load>& loads = m_model->loads();
    std::vector<QUuid> ids;
    ids.reserve(loads.size());
    for (const ComparisonModel::Load& load : loads) ids.push_back(load.id);
    if (ids == m_chipLoads) return;  // a recompute: chips show names and velocities only

    // Chips of loads still present stay as they are; the others go once their click is over
    // (the chip whose button was pressed may be one of them).
    std::vector<ComparisonChip*> ordered(loads.size(), nullptr);
    for (std::size_t old = 0; old < m_chips.size(); ++old) {
        const auto place = std::find(ids.begin(), ids.end(), m_chipLoads[old]);
        if (place != ids.end() && ordered[std::size_t(place - ids.begin())] == nullptr) {
            ordered[std::size_t(place - ids.begin())] = m_chips[old];
            continue;
        }
        ComparisonChip* chip = m_chips[old];
        chip->disconnect(this);
        chip->hide();
        chip->setParent(nullptr);
        chip->deleteLater();
    }
    QLayout* row = m_chipRow->layout();
    while (QLayoutItem* item = row->takeAt(0)) delete item;
    for (std::size_t i = 0; i < loads.size(); ++i) {
        ComparisonChip*& chip = ordered[i];
        if (chip == nullptr) {
            chip = new ComparisonChip(comparisonChipText(loads[i].name, loads[i].muzzleVelocity),
                                      comparisonSeriesColour(i), m_chipRow);
            const QUuid id = loads[i].id;
            connect(chip, &ComparisonChip::removeClicked, this, [this, id] { m_model->removeLoad(id); });
        }
        chip->setColour(comparisonSeriesColour(i));  // colours follow positions
        row->addWidget(chip);
        chip->show();
    }
    m_chips = std::move(ordered);
    m_chipLoads = std::move(ids);
}

void ComparisonView::appear() {
    if (!m_demonstrationPreset) return;
    if (!m_model->loads().empty()) return;
    for (const char* name : kPresetLoads) {
        if (const CatalogCartridge* found = findPresetCartridge(m_catalog.cartridges(), QString::fromUtf8(name))) {
            const CatalogCartridge chosen = *found;
            batched([&] { m_model->add(chosen); });
        }
    }
}

void ComparisonView::exportCSV() { exportComparisonCSV(*m_model, m_platform.dialogs); }

}  // namespace kavrino
