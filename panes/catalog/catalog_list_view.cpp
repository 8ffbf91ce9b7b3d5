#include "panes/catalog/catalog_list_view.h"

#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "panes/catalog/catalog_list_accessible.h"
#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_row_delegate.h"
#include "panes/catalog/catalog_row_layout.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kavrino {

CatalogListView::CatalogListView(CatalogListModel* model, QWidget* parent)
    : QListView(parent), m_model(model), m_layout(std::make_unique<CatalogRowLayout>(tr("Use"))) {
    installCatalogListAccessibility();
    m_delegate = new CatalogRowDelegate(*m_layout, this);
    setItemDelegate(m_delegate);
    setModel(model);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    setUniformItemSizes(true);  // every row is as tall: no per-row measuring when filtering
    setLayoutMode(QListView::SinglePass);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setDragEnabled(false);
    // Rows are drawn on the pane's background, which the list fills itself: an opaque list
    // repaints without the pane behind it.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Palette::background());
    colours.setColor(QPalette::Window, Palette::background());
    setPalette(colours);
    viewport()->setAutoFillBackground(true);
    useThinScrollBars(this);
}

CatalogListView::~CatalogListView() = default;

CatalogRowGeometry CatalogListView::rowGeometry(int row) const {
    return m_layout->geometry(visualRect(m_model->index(row, 0)));
}

void CatalogListView::useRow(int row) {
    if (row >= 0 && row < m_model->rowCount()) emit useRequested(row);
}

bool CatalogListView::pressUseButton(const QPoint& position) {
    const QModelIndex index = indexAt(position);
    if (!index.isValid() || !rowGeometry(index.row()).useButton.contains(position)) return false;
    m_heldRow = index.row();
    setPressedLook(m_heldRow);
    return true;
}

void CatalogListView::setPressedLook(int row) {
    m_delegate->setPressedRow(row);
    viewport()->update();
}

void CatalogListView::showFocusRing(bool visible) {
    m_delegate->setFocusRingVisible(visible);
    viewport()->update();
}

void CatalogListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    if (index.isValid()) setCurrentIndex(index);  // where Return applies next; nothing is selected
    showFocusRing(false);
    pressUseButton(position);
}

void CatalogListView::mouseMoveEvent(QMouseEvent* event) {
    if (m_heldRow < 0) return;
    // Like a push button: pressed only while the pointer stays over it.
    const bool over = rowGeometry(m_heldRow).useButton.contains(event->position().toPoint());
    setPressedLook(over ? m_heldRow : -1);
}

void CatalogListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_heldRow < 0) return;
    const int row = m_heldRow;
    m_heldRow = -1;
    setPressedLook(-1);
    if (rowGeometry(row).useButton.contains(event->position().toPoint())) useRow(row);
}

void CatalogListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint position = event->position().toPoint();
    // The second click of a double-click on the button is one more click of the button.
    if (pressUseButton(position)) return;
    const QModelIndex index = indexAt(position);
    if (index.isValid() && rowGeometry(index.row()).body.contains(position)) useRow(index.row());
}

void CatalogListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentIndex().isValid()) {
            showFocusRing(true);
            useRow(currentIndex().row());
            event->accept();
            return;
        }
    }
    showFocusRing(true);
    QListView::keyPressEvent(event);
}

void CatalogListView::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        showFocusRing(true);
    }
    QListView::focusInEvent(event);
}

}  // namespace kavrino
