#pragma once
// The 250-point pane list at the window's left: the title, the "WORKSPACE" heading with the
// first three panes, the "PRO TOOLS" heading with the other five. Exactly one row is selected.
#include "app/shell/workspace_tab.h"

#include <QAbstractButton>
#include <QWidget>

#include <array>

namespace kavrino {

// One pane's row: symbol, title, and when selected a soft accent fill with a short accent bar
// at its leading end. The whole padded row is the hit area. A press (click, keyboard or an
// assistive technology's action) only asks for the pane; the sidebar decides the selection, so
// no row ever turns itself on or off. Assistive technology sees a page tab with its selected
// state.
class SidebarRow final : public QAbstractButton {
    Q_OBJECT
public:
    SidebarRow(WorkspaceTab tab, QWidget* parent = nullptr);

    WorkspaceTab tab() const { return m_tab; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    // The highlighted label rectangle inside the row (the row keeps 12 points left and right and
    // 1 point above and below outside it).
    QRect labelRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    WorkspaceTab m_tab;
    bool m_selected = false;
};

class Sidebar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 250;

    explicit Sidebar(WorkspaceTab selection, QWidget* parent = nullptr);

    WorkspaceTab selection() const { return m_selection; }
    // Highlights `tab`'s row; emits nothing.
    void setSelection(WorkspaceTab tab);
    SidebarRow* row(WorkspaceTab tab) const { return m_rows[size_t(position(tab))]; }

signals:
    // The user clicked `tab`'s row (also when it is already selected).
    void rowClicked(kavrino::WorkspaceTab tab);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    WorkspaceTab m_selection;
    std::array<SidebarRow*, kWorkspaceTabCount> m_rows{};
};

}  // namespace kavrino
