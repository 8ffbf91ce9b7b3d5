#include "panes/catalog/catalog_view.h"

#include "app/theme/components/segmented_picker.h"
#include "app/theme/palette.h"
#include "core/catalog.h"
#include "core/solve_model.h"
#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_list_view.h"
#include "panes/catalog/search_field.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kavrino {
namespace {

constexpr int kHeaderPadding = 16;
constexpr int kHeaderSpacing = 12;
constexpr int kPickerMaximumWidth = 320;
constexpr int kSearchMaximumWidth = 340;
constexpr int kSearchMinimumWidth = 180;

using List = CatalogListModel::List;

QWidget* divider() {
    auto* line = new QWidget;
    line->setObjectName(QStringLiteral("catalogDivider"));
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, Palette::stroke());
    line->setPalette(colours);
    return line;
}

}  // namespace

CatalogView::CatalogView(SolveModel& model, Catalog& catalog, QWidget* parent)
    : WorkspacePane(parent),
      m_model(model),
      m_catalog(catalog),
      m_rows(new CatalogListModel(catalog, connections(), this)) {
    setObjectName(QStringLiteral("catalogView"));
    fillWithBackground(*this);

    m_picker = new SegmentedPicker({QString(), QString()});
    m_picker->setObjectName(QStringLiteral("catalogListPicker"));
    m_picker->setAccessibleName(tr("Catalog list"));
    m_picker->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_picker->setMaximumWidth(kPickerMaximumWidth);
    m_picker->setSelectedIndex(0);
    connect(m_picker, &SegmentedPicker::segmentClicked, this, &CatalogView::showList);

    m_search = new SearchField(tr("Search bullets & loads"));
    m_search->setObjectName(QStringLiteral("catalogSearchField"));
    m_search->setMinimumWidth(kSearchMinimumWidth);
    m_search->setMaximumWidth(kSearchMaximumWidth);
    // Every keystroke filters at once; the text is used as typed.
    connect(m_search, &SearchField::textChanged, m_rows, &CatalogListModel::setQuery);

    // The switch and the search side by side, each up to its own width, centred as one group.
    auto* group = new QWidget;
    group->setObjectName(QStringLiteral("catalogHeaderGroup"));
    group->setMaximumWidth(kPickerMaximumWidth + kHeaderSpacing + kSearchMaximumWidth);
    group->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* pair = new QHBoxLayout(group);
    pair->setContentsMargins(0, 0, 0, 0);
    pair->setSpacing(kHeaderSpacing);
    pair->addWidget(m_picker, 1, Qt::AlignVCenter);
    pair->addWidget(m_search, 1, Qt::AlignVCenter);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(kHeaderPadding, kHeaderPadding, kHeaderPadding, kHeaderPadding);
    header->setSpacing(0);
    // The group takes the width first; what it cannot use is shared equally on both sides.
    header->addStretch(1);
    header->addWidget(group, 1000);
    header->addStretch(1);

    m_list = new CatalogListView(m_rows);
    m_list->setObjectName(QStringLiteral("catalogList"));
    connect(m_list, &CatalogListView::useRequested, this, &CatalogView::applyRow);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addLayout(header);
    stack->addWidget(divider());
    stack->addWidget(m_list, 1);

    setTabOrder(m_picker, m_search);
    setTabOrder(m_search, m_list);
    observe(&m_catalog, &Catalog::changed, this, &CatalogView::updateCounts);
    updateCounts();
    showList(0);
}

int CatalogView::shownList() const { return m_rows->list() == List::bullets ? 0 : 1; }

void CatalogView::showList(int list) {
    m_rows->setList(list == 0 ? List::bullets : List::factoryLoads);
    m_picker->setSelectedIndex(shownList());
    m_list->setAccessibleName(shownList() == 0 ? tr("Bullets") : tr("Factory Loads"));
}

void CatalogView::updateCounts() {
    m_picker->setSegmentText(0, tr("Bullets (%1)").arg(m_rows->bulletCount()));
    m_picker->setSegmentText(1, tr("Factory Loads (%1)").arg(m_rows->factoryLoadCount()));
}

void CatalogView::applyRow(int row) {
    const int source = m_rows->sourceIndex(row);
    if (source < 0) return;
    // A copy: the entry is applied whole even if the catalog were replaced meanwhile.
    if (m_rows->list() == List::bullets) {
        if (size_t(source) >= m_catalog.bullets().size()) return;
        const CatalogBullet bullet = m_catalog.bullets()[size_t(source)];
        m_model.apply(bullet);
    } else {
        if (size_t(source) >= m_catalog.cartridges().size()) return;
        const CatalogCartridge cartridge = m_catalog.cartridges()[size_t(source)];
        m_model.apply(cartridge);
    }
}

}  // namespace kavrino
