#include "app/shell/sidebar.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>  // std::max

namespace kavrino {
namespace {

// Row geometry, in points.
constexpr int kRowOuterHorizontal = 12;
constexpr int kRowOuterVertical = 1;
constexpr int kLabelHorizontal = 12;
constexpr int kLabelVertical = 9;
constexpr int kIconFrameWidth = 20;
constexpr int kIconSide = 16;  // a symbol at 14 points
constexpr int kIconTitleSpacing = 11;
constexpr double kLabelRadius = 9;
constexpr QSizeF kAccentBar{3, 16};
constexpr double kAccentBarRadius = 2;
constexpr double kAccentBarShift = 2;

QFont rowTitleFont(bool selected) { return uiFont(13, selected ? QFont::DemiBold : QFont::Normal); }

QLabel* heading(const QString& text, QWidget* parent) {
    return plainLabel(text, uiFont(10, QFont::DemiBold, 1.4), Palette::textTertiary(), parent);
}

// `widget` added to `stack` with padding around it.
void addPadded(QVBoxLayout* stack, QWidget* widget, QMargins padding) {
    auto* box = new QVBoxLayout;
    box->setContentsMargins(padding);
    box->setSpacing(0);
    box->addWidget(widget);
    stack->addLayout(box);
}

// The row as assistive technology sees it: a page tab named by the pane's title, selected when
// its pane is shown, whose one action is the press that shows it.
class SidebarRowAccessible final : public QAccessibleWidget {
public:
    explicit SidebarRowAccessible(SidebarRow* row) : QAccessibleWidget(row, QAccessible::PageTab) {
        addControllingSignal(QStringLiteral("clicked(bool)"));
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = row()->isSelected();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && row()->isEnabled()) row()->click();
    }

private:
    SidebarRow* row() const { return static_cast<SidebarRow*>(widget()); }
};

QAccessibleInterface* sidebarRowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kavrino::SidebarRow") && object != nullptr && object->isWidgetType()) {
        return new SidebarRowAccessible(static_cast<SidebarRow*>(object));
    }
    return nullptr;
}

}  // namespace

SidebarRow::SidebarRow(WorkspaceTab tab, QWidget* parent) : QAbstractButton(parent), m_tab(tab) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(sidebarRowAccessible);
        return true;
    }();
    (void)factoryInstalled;
    setText(title(tab));
    setIcon(symbolIcon(systemImage(tab)));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setObjectName(QStringLiteral("sidebarRow_") + caseName(tab));
    setAccessibleName(title(tab));
}

QSize SidebarRow::sizeHint() const {
    // The selected title is semibold; the row keeps one height either way.
    const int textHeight = QFontMetrics(rowTitleFont(true)).height();
    const int content = std::max(textHeight, kIconSide);
    return QSize(Sidebar::kWidth, content + 2 * kLabelVertical + 2 * kRowOuterVertical);
}

QRect SidebarRow::labelRect() const {
    return rect().adjusted(kRowOuterHorizontal, kRowOuterVertical, -kRowOuterHorizontal,
                           -kRowOuterVertical);
}

bool SidebarRow::hitButton(const QPoint& pos) const { return labelRect().contains(pos); }

void SidebarRow::setSelected(bool selected) {
    if (selected == m_selected) return;
    m_selected = selected;
    update();
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void SidebarRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF label(labelRect());
    const bool selected = isSelected();

    if (selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::accentSoft());
        painter.drawPath(continuousRoundedRect(label, kLabelRadius));
        const QRectF bar(QPointF(label.left() + kAccentBarShift,
                                 label.center().y() - kAccentBar.height() / 2),
                         kAccentBar);
        painter.setBrush(Palette::accent());
        painter.drawPath(continuousRoundedRect(bar, kAccentBarRadius));
    }

    const QRectF iconFrame(label.left() + kLabelHorizontal, label.top() + kLabelVertical,
                           kIconFrameWidth, label.height() - 2 * kLabelVertical);
    const QColor iconColour = selected ? Palette::accentBright() : Palette::textSecondary();
    const QRectF iconRect(iconFrame.center().x() - kIconSide / 2.0,
                          iconFrame.center().y() - kIconSide / 2.0, kIconSide, kIconSide);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(iconRect.topLeft(),
                       tintedPixmap(icon(), iconColour, kIconSide, devicePixelRatioF()));

    const double textLeft = iconFrame.right() + kIconTitleSpacing;
    const QRectF textRect(textLeft, iconFrame.top(), label.right() - kLabelHorizontal - textLeft,
                          iconFrame.height());
    painter.setFont(rowTitleFont(selected));
    painter.setPen(selected ? Palette::textPrimary() : Palette::textSecondary());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}

Sidebar::Sidebar(WorkspaceTab selection, QWidget* parent) : QWidget(parent), m_selection(selection) {
    setObjectName(QStringLiteral("sidebar"));
    setFixedWidth(kWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    QLabel* appTitle = plainLabel(tr("Kavrino Pro"), uiFont(17, QFont::Bold), Palette::textPrimary(), this);
    appTitle->setObjectName(QStringLiteral("sidebarTitle"));
    addPadded(stack, appTitle, QMargins(18, 34, 18, 22));

    auto addRow = [&](WorkspaceTab tab) {
        auto* row = new SidebarRow(tab, this);
        row->setSelected(tab == m_selection);
        connect(row, &QAbstractButton::clicked, this, [this, tab] { emit rowClicked(tab); });
        m_rows[size_t(position(tab))] = row;
        stack->addWidget(row);
    };
    QLabel* workspace = heading(QStringLiteral("WORKSPACE"), this);
    workspace->setObjectName(QStringLiteral("sidebarHeading_workspace"));
    addPadded(stack, workspace, QMargins(24, 0, 24, 6));
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        if (position(tab) < 3) addRow(tab);
    }
    QLabel* proTools = heading(QStringLiteral("PRO TOOLS"), this);
    proTools->setObjectName(QStringLiteral("sidebarHeading_proTools"));
    addPadded(stack, proTools, QMargins(24, 18, 24, 6));
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        if (position(tab) >= 3) addRow(tab);
    }
    stack->addSpacerItem(new QSpacerItem(0, 16, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void Sidebar::setSelection(WorkspaceTab tab) {
    m_selection = tab;
    for (SidebarRow* row : m_rows) row->setSelected(row->tab() == tab);
}

void Sidebar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Palette::surface());
    // The line between the sidebar and the content, at its trailing edge.
    painter.fillRect(QRect(width() - 1, 0, 1, height()), Palette::stroke());
}

}  // namespace kavrino
