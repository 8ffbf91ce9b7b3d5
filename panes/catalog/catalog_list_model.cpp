#include "panes/catalog/catalog_list_model.h"

#include "app/workspace/pane_connections.h"
#include "core/catalog.h"
#include "panes/catalog/catalog_row_texts.h"

namespace kavrino {

CatalogListModel::CatalogListModel(const Catalog& catalog, PaneConnections& connections, QObject* parent)
    : QAbstractListModel(parent), m_catalog(catalog) {
    connections.observe(&catalog, &Catalog::changed, this, [this] {
        beginResetModel();
        rebuildTexts();
        refilter();
        endResetModel();
    });
    rebuildTexts();
    refilter();
}

void CatalogListModel::setList(List list) {
    if (list == m_list) return;
    beginResetModel();
    m_list = list;
    refilter();
    endResetModel();
}

void CatalogListModel::setQuery(const QString& query) {
    if (query == m_query) return;
    beginResetModel();
    m_query = query;
    refilter();
    endResetModel();
}

void CatalogListModel::rebuildTexts() {
    m_bulletRows.clear();
    m_bulletRows.reserve(m_catalog.bullets().size());
    for (const CatalogBullet& bullet : m_catalog.bullets()) {
        m_bulletRows.push_back({bulletLabel(bullet), bulletSubtitle(bullet)});
    }
    m_loadRows.clear();
    m_loadRows.reserve(m_catalog.cartridges().size());
    for (const CatalogCartridge& cartridge : m_catalog.cartridges()) {
        m_loadRows.push_back({cartridge.name, cartridgeSubtitle(cartridge)});
    }
}

const std::vector<CatalogListModel::RowTexts>& CatalogListModel::currentRows() const {
    return m_list == List::bullets ? m_bulletRows : m_loadRows;
}

void CatalogListModel::refilter() {
    const std::vector<RowTexts>& rows = currentRows();
    m_shown.clear();
    m_rowOfSource.assign(rows.size(), -1);
    for (int source = 0; source < int(rows.size()); ++source) {
        // Unicode case folding, whatever the user's locale; diacritics still count.
        if (m_query.isEmpty() || rows[size_t(source)].title.contains(m_query, Qt::CaseInsensitive)) {
            m_rowOfSource[size_t(source)] = int(m_shown.size());
            m_shown.push_back(source);
        }
    }
}

int CatalogListModel::sourceIndex(int row) const {
    return row >= 0 && row < int(m_shown.size()) ? m_shown[size_t(row)] : -1;
}

int CatalogListModel::rowOfSource(int sourceIndex) const {
    return sourceIndex >= 0 && sourceIndex < int(m_rowOfSource.size()) ? m_rowOfSource[size_t(sourceIndex)] : -1;
}

QString CatalogListModel::title(int row) const {
    const int source = sourceIndex(row);
    return source < 0 ? QString() : currentRows()[size_t(source)].title;
}

QString CatalogListModel::subtitle(int row) const {
    const int source = sourceIndex(row);
    return source < 0 ? QString() : currentRows()[size_t(source)].subtitle;
}

int CatalogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant CatalogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case TitleRole: return title(index.row());
    case Qt::AccessibleDescriptionRole:
    case SubtitleRole: return subtitle(index.row());
    default: return {};
    }
}

Qt::ItemFlags CatalogListModel::flags(const QModelIndex& index) const {
    // Rows are enabled (they take clicks and keyboard focus) but are never selected.
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace kavrino
