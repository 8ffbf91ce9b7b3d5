#include "panes/catalog/catalog_list_accessible.h"

#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_list_view.h"
#include "panes/catalog/catalog_row_layout.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>
#include <QPointer>

#include <utility>

namespace kavrino {
namespace {

using List = CatalogListModel::List;

QRect toGlobal(const CatalogListView& view, const QRectF& viewportRect) {
    const QRect local = viewportRect.toAlignedRect();
    return QRect(view.viewport()->mapToGlobal(local.topLeft()), local.size());
}

// One catalog entry while it is shown: identified by its list and its place in that list, so
// an item found before a search keystroke stands for the same entry after it.
struct EntryRef {
    QPointer<CatalogListView> view;
    List list;
    int source;

    // The row showing the entry; -1 when the view is gone, shows the other list or filters
    // the entry out.
    int row() const {
        if (view.isNull() || view->catalogModel()->list() != list) return -1;
        return view->catalogModel()->rowOfSource(source);
    }
};

// The "Use" button of one row.
class UseButtonAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit UseButtonAccessible(EntryRef entry) : m_entry(std::move(entry)) {}

    bool isValid() const override { return m_entry.row() >= 0; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? m_entry.view->rowLayout().useTitle() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const int row = m_entry.row();
        return row < 0 ? QRect() : toGlobal(*m_entry.view, m_entry.view->rowGeometry(row).useButton);
    }
    QAccessible::Role role() const override { return QAccessible::PushButton; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invalid = !isValid();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        const int row = m_entry.row();
        if (name == pressAction() && row >= 0) m_entry.view->useRow(row);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    EntryRef m_entry;
};

// One row: a list item named by its title and described by its subtitle, and the one cell of
// its row in the list's table view of itself.
class RowAccessible final : public QAccessibleInterface,
                            public QAccessibleActionInterface,
                            public QAccessibleTableCellInterface {
public:
    explicit RowAccessible(EntryRef entry) : m_entry(entry) {
        m_button = QAccessible::registerAccessibleInterface(new UseButtonAccessible(std::move(entry)));
    }
    ~RowAccessible() override { QAccessible::deleteAccessibleInterface(m_button); }

    const EntryRef& entry() const { return m_entry; }

    bool isValid() const override { return m_entry.row() >= 0; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return m_entry.view.isNull() ? nullptr : QAccessible::queryAccessibleInterface(m_entry.view.data());
    }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::accessibleInterface(m_button) : nullptr;
    }
    int childCount() const override { return 1; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child == QAccessible::accessibleInterface(m_button) ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* button = child(0);
        return button != nullptr && button->rect().contains(x, y) ? button : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        const int row = m_entry.row();
        if (row < 0) return {};
        if (t == QAccessible::Name) return m_entry.view->catalogModel()->title(row);
        if (t == QAccessible::Description) return m_entry.view->catalogModel()->subtitle(row);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const int row = m_entry.row();
        return row < 0 ? QRect() : toGlobal(*m_entry.view, m_entry.view->rowGeometry(row).band);
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        const int row = m_entry.row();
        if (row < 0) {
            s.invalid = true;
            return s;
        }
        const CatalogListView& view = *m_entry.view;
        s.focusable = true;
        s.focused = view.hasFocus() && view.currentIndex().row() == row;
        s.offscreen = !view.viewport()->rect().intersects(view.rowGeometry(row).band.toAlignedRect());
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }
    // Pressing the row does what its "Use" button and a double-click on it do.
    QStringList actionNames() const override { return {pressAction()}; }
    QString localizedActionDescription(const QString& name) const override {
        return name == pressAction() ? QCoreApplication::translate("CatalogView", "Use this entry in the solve")
                                     : QString();
    }
    void doAction(const QString& name) override {
        const int row = m_entry.row();
        if (name == pressAction() && row >= 0) m_entry.view->useRow(row);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_entry.row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    EntryRef m_entry;
    QAccessible::Id m_button;
};

// The list: one child per row shown, in order. It is also a one-column table without
// selection, as item views are for assistive technology, so that clients read its rows afresh
// rather than keeping those of an earlier search.
class CatalogListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CatalogListAccessible(CatalogListView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~CatalogListAccessible() override {
        for (QAccessible::Id id : std::as_const(m_rows)) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return model()->rowCount(); }
    QAccessibleInterface* child(int index) const override {
        const int source = model()->sourceIndex(index);
        return source < 0 ? nullptr : rowInterface(model()->list(), source);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* row = dynamic_cast<const RowAccessible*>(child);
        return row != nullptr && row->entry().view == view() ? row->entry().row() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = view()->viewport()->mapFromGlobal(QPoint(x, y));
        return child(view()->indexAt(local).row());
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override { return column == 0 ? child(row) : nullptr; }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Items are looked up from the model each time; there is nothing to update.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    CatalogListView* view() const { return static_cast<CatalogListView*>(widget()); }
    const CatalogListModel* model() const { return view()->catalogModel(); }

    // The item of an entry, made once and kept while the list lives.
    QAccessibleInterface* rowInterface(List list, int source) const {
        const quint64 key = (quint64(list == List::bullets ? 0 : 1) << 32) | quint32(source);
        auto found = m_rows.constFind(key);
        if (found == m_rows.cend()) {
            const QAccessible::Id id = QAccessible::registerAccessibleInterface(
                new RowAccessible(EntryRef{QPointer<CatalogListView>(view()), list, source}));
            found = m_rows.insert(key, id);
        }
        return QAccessible::accessibleInterface(*found);
    }

    mutable QHash<quint64, QAccessible::Id> m_rows;
};

QAccessibleInterface* UseButtonAccessible::parent() const {
    if (m_entry.view.isNull()) return nullptr;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_entry.view.data());
    const int row = m_entry.row();
    return list != nullptr && row >= 0 ? list->child(row) : list;
}

QAccessibleInterface* catalogListAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kavrino::CatalogListView") && object != nullptr && object->isWidgetType()) {
        return new CatalogListAccessible(static_cast<CatalogListView*>(object));
    }
    return nullptr;
}

}  // namespace

void installCatalogListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(catalogListAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace kavrino
