#pragma once
// The catalog pane: a header with the list switch ("Bullets (n)" / "Factory Loads (n)", counts
// of the whole catalog) and the search field, a divider, and the list of the chosen kind
// narrowed by the search text. "Use" on a row, a double-click on it or Return on the focused
// row applies the entry to the shared solve model, which solves at once; the pane itself stays
// as it is. The search text and the chosen list last as long as the pane.
#include "app/workspace/workspace_pane.h"

namespace kavrino {

class Catalog;
class CatalogListModel;
class CatalogListView;
class SearchField;
class SegmentedPicker;
class SolveModel;

class CatalogView final : public WorkspacePane {
    Q_OBJECT
public:
    CatalogView(SolveModel& model, Catalog& catalog, QWidget* parent = nullptr);

    // 0 bullets, 1 factory loads; the search text carries over to the other list.
    int shownList() const;
    void showList(int list);

    SegmentedPicker* listPicker() const { return m_picker; }
    SearchField* searchField() const { return m_search; }
    CatalogListView* listView() const { return m_list; }
    CatalogListModel* listModel() const { return m_rows; }

private:
    void updateCounts();
    void applyRow(int row);

    SolveModel& m_model;
    Catalog& m_catalog;
    CatalogListModel* m_rows;
    SegmentedPicker* m_picker = nullptr;
    SearchField* m_search = nullptr;
    CatalogListView* m_list = nullptr;
};

}  // namespace kavrino
