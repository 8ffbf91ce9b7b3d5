#include "panes/solve/trajectory_table_view.h"

#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"
#include "panes/solve/trajectory_table_model.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

namespace kavrino {
namespace {

constexpr int kRowHeight = 24;
constexpr int kHeaderPadding = 6;       // each side of a column title
constexpr int kRangeIdealWidth = 64;
constexpr int kRangeMinimumWidth = 56;
constexpr int kCellPadding = 6;         // text inset at both ends of a cell
constexpr double kRowCornerRadius = 5;  // the inset style's rounded alternate rows

// The platform's primary label text of the dark scheme (white at 85 %), as in the summary strip:
// rows that are not subsonic are drawn in it, not in a palette colour.
QColor primaryText() { return QColor::fromRgbF(1, 1, 1, 0.85f); }

// White at 5 %: the dark scheme's alternate row over the card.
QColor alternateRowColour() { return QColor::fromRgbF(1, 1, 1, 0.05f); }

// Paints the alternate row background as one rounded band across the whole row (rounded at
// the first and last column only), then the cell text in the model's foreground colour.
class InsetRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRectF cell(option.rect);
        if (index.row() % 2 == 1) {
            const bool first = index.column() == 0;
            const bool last = index.column() == index.model()->columnCount() - 1;
            QRectF band = cell;
            if (!first) band.setLeft(cell.left() - 2 * kRowCornerRadius);
            if (!last) band.setRight(cell.right() + 2 * kRowCornerRadius);
            painter->setClipRect(cell);
            painter->setPen(Qt::NoPen);
            painter->setBrush(alternateRowColour());
            painter->drawRoundedRect(band, kRowCornerRadius, kRowCornerRadius);
            painter->setClipping(false);
        }
        const QVariant foreground = index.data(Qt::ForegroundRole);
        const QColor colour = foreground.canConvert<QColor>() ? foreground.value<QColor>()
                                                              : option.palette.color(QPalette::Text);
        painter->setPen(colour);
        painter->setFont(option.font);
        const QRectF textRect = cell.adjusted(kCellPadding, 0, -kCellPadding, 0);
        const QString text = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight,
                                                           int(textRect.width()));
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
        painter->restore();
    }
};

}  // namespace

TrajectoryTableView::TrajectoryTableView(QWidget* parent)
    : QTableView(parent), m_model(new TrajectoryTableModel(this)) {
    setObjectName(QStringLiteral("trajectoryTable"));
    setModel(m_model);
    setItemDelegate(new InsetRowDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setSortingEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setFrameShape(QFrame::NoFrame);
    // The inset style keeps rows and header clear of the card's rounded border.
    setContentsMargins(8, 4, 8, 8);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The alternate rows are painted by the delegate as inset bands.
    setAlternatingRowColors(false);

    // The UI face draws all digits at one width, so the figures of a column line up.
    setFont(uiFont(13));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Window, Qt::transparent);
    colours.setColor(QPalette::Text, primaryText());
    setPalette(colours);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);

    QHeaderView* header = horizontalHeader();
    header->setObjectName(QStringLiteral("trajectoryTableHeader"));
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setTextElideMode(Qt::ElideRight);
    header->setFont(uiFont(11));
    header->setMinimumSectionSize(kRangeMinimumWidth);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStyleSheet(QStringLiteral(
        "QHeaderView { background: transparent; }"
        "QHeaderView::section { background: transparent; color: rgba(232, 235, 242, 0.62);"
        " border: none; border-bottom: 1px solid rgba(255, 255, 255, 0.10);"
        " border-right: 1px solid rgba(255, 255, 255, 0.08); padding: 5px %1px; }"
        "QHeaderView::section:last { border-right: none; }").arg(kHeaderPadding));
    useThinScrollBars(this);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &TrajectoryTableView::fitColumns);
    fitColumns();
}

void TrajectoryTableView::fitColumns() {
    // Each column is at least as wide as its whole title ("Range" at its ideal 64); the width
    // left over is shared by the eight figure columns, so no title is cut while there is room.
    QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics(header->font());
    std::array<int, TrajectoryTableModel::ColumnCount> widths{};
    int natural = 0;
    for (int column = 0; column < TrajectoryTableModel::ColumnCount; ++column) {
        const auto title = TrajectoryTableModel::columnTitle(TrajectoryTableModel::Column(column));
        const int titleWidth = metrics.horizontalAdvance(title) + 2 * kHeaderPadding + 2;
        widths[size_t(column)] = column == TrajectoryTableModel::RangeColumn
                                     ? std::max(kRangeIdealWidth, kRangeMinimumWidth)
                                     : titleWidth;
        natural += widths[size_t(column)];
    }
    const int shared = TrajectoryTableModel::ColumnCount - 1;
    const int spare = std::max(0, viewport()->width() - natural);
    for (int column = 0; column < TrajectoryTableModel::ColumnCount; ++column) {
        int width = widths[size_t(column)];
        if (column != TrajectoryTableModel::RangeColumn) {
            const int index = column - 1;  // the last columns take the remainder's pixels
            width += spare / shared + (index >= shared - spare % shared ? 1 : 0);
        }
        header->resizeSection(column, width);
    }
}

void TrajectoryTableView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

void TrajectoryTableView::setInputs(const std::vector<TrajectoryPoint>& points, double muzzleVelocity,
                                    double speedOfSound) {
    m_model->setMuzzleVelocity(muzzleVelocity);
    m_model->setSpeedOfSound(speedOfSound);
    m_model->setPoints(points);
}

}  // namespace kavrino
