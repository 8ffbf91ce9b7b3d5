#pragma once
// The list of the catalog pane: rows painted by CatalogRowDelegate over a CatalogListModel, no
// selection. Each row's "Use" button is operated like a push button (pressed look while held,
// used on a release over it); a double-click on the row's stack uses the row, one in its
// 5-point margins does nothing, a single click only makes it the current row. Return uses the
// current row, which the arrow keys move; assistive technology sees each row as a list item
// named by its title and described by its subtitle, with a "Use" button and action.
#include <QListView>

#include <memory>

namespace kavrino {

class CatalogListModel;
class CatalogRowDelegate;
class CatalogRowLayout;
struct CatalogRowGeometry;

class CatalogListView final : public QListView {
    Q_OBJECT
public:
    explicit CatalogListView(CatalogListModel* model, QWidget* parent = nullptr);
    ~CatalogListView() override;

    CatalogListModel* catalogModel() const { return m_model; }
    const CatalogRowLayout& rowLayout() const { return *m_layout; }
    // The parts of `row` in the viewport's coordinates.
    CatalogRowGeometry rowGeometry(int row) const;

    // Uses the entry shown at `row`, as its "Use" button does; nothing for a row not shown.
    void useRow(int row);

signals:
    void useRequested(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // Starts holding the "Use" button of the row under `position`; false when there is none.
    bool pressUseButton(const QPoint& position);
    void setPressedLook(int row);
    void showFocusRing(bool visible);

    CatalogListModel* m_model;
    std::unique_ptr<CatalogRowLayout> m_layout;
    CatalogRowDelegate* m_delegate;
    int m_heldRow = -1;  // the row whose "Use" button the mouse holds down
};

}  // namespace kavrino
