#pragma once
// The rows of the catalog pane: one of the catalog's two lists (bullets or factory loads),
// narrowed by a search text. A bullet is found through its label, a factory load through its
// name, when that text contains the query in any letter case; the query is used as typed
// (a lone blank is a query). Row texts are built once per catalog change, so a keystroke only
// walks the prepared titles.
#include <QAbstractListModel>
#include <QString>

#include <vector>

namespace kavrino {

class Catalog;
class PaneConnections;

class CatalogListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum class List { bullets, factoryLoads };
    enum Role { TitleRole = Qt::UserRole + 1, SubtitleRole };

    // Follows the catalog's changes through `connections`, the pane's.
    CatalogListModel(const Catalog& catalog, PaneConnections& connections, QObject* parent = nullptr);

    List list() const { return m_list; }
    void setList(List list);
    const QString& query() const { return m_query; }
    void setQuery(const QString& query);

    // The sizes of the whole catalog's lists, whatever the query.
    int bulletCount() const { return int(m_bulletRows.size()); }
    int factoryLoadCount() const { return int(m_loadRows.size()); }

    QString title(int row) const;
    QString subtitle(int row) const;
    // Where the entry shown at `row` stands in its catalog list; -1 for no such row.
    int sourceIndex(int row) const;
    // The row that shows entry `sourceIndex` of the current list; -1 when it is filtered out.
    int rowOfSource(int sourceIndex) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct RowTexts {
        QString title;
        QString subtitle;
    };

    void rebuildTexts();
    void refilter();
    const std::vector<RowTexts>& currentRows() const;

    const Catalog& m_catalog;
    std::vector<RowTexts> m_bulletRows;
    std::vector<RowTexts> m_loadRows;
    List m_list = List::bullets;
    QString m_query;
    std::vector<int> m_shown;        // source index of each row, in catalog order
    std::vector<int> m_rowOfSource;  // the inverse, -1 for entries filtered out
};

}  // namespace kavrino
