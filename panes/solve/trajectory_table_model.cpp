#include "panes/solve/trajectory_table_model.h"

#include "app/theme/palette.h"
#include "core/format.h"

#include <QCoreApplication>

namespace kavrino {
namespace {

struct ColumnFormat {
    const char* title;  // translatable
    const char* format;
    double TrajectoryPoint::*field;
};

// The nine columns in display order. There is no column for wind in MOA or for the path.
constexpr ColumnFormat kColumns[TrajectoryTableModel::ColumnCount] = {
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Range"), "%.0f", &TrajectoryPoint::range},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Vel \u00b7 fps"), "%.0f", &TrajectoryPoint::velocity},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Drop \u00b7 in"), "%.1f", &TrajectoryPoint::dropInches},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Drop \u00b7 MOA"), "%.1f", &TrajectoryPoint::dropMOA},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Drop \u00b7 MIL"), "%.2f", &TrajectoryPoint::dropMil},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Wind \u00b7 in"), "%.1f", &TrajectoryPoint::windDriftInches},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Wind \u00b7 MIL"), "%.2f", &TrajectoryPoint::windDriftMil},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "Energy \u00b7 ft\u00b7lb"), "%.0f", &TrajectoryPoint::energy},
    {QT_TRANSLATE_NOOP("TrajectoryTable", "TOF \u00b7 s"), "%.2f", &TrajectoryPoint::time},
};

}  // namespace

TrajectoryTableModel::TrajectoryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TrajectoryTableModel::setPoints(const std::vector<TrajectoryPoint>& points) {
    if (points == m_points) return;
    beginResetModel();
    m_points = points;
    endResetModel();
}

void TrajectoryTableModel::setSpeedOfSound(double feetPerSecond) {
    if (feetPerSecond == m_speedOfSound) return;
    m_speedOfSound = feetPerSecond;
    if (!m_points.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::ForegroundRole});
    }
}

bool TrajectoryTableModel::isSubsonic(int row) const {
    if (row < 0 || size_t(row) >= m_points.size()) return false;
    return m_points[size_t(row)].velocity < m_speedOfSound;  // false for NaN
}

QString TrajectoryTableModel::cellText(const TrajectoryPoint& point, Column column) {
    const ColumnFormat& columnFormat = kColumns[column];
    return qformat(columnFormat.format, point.*columnFormat.field);
}

QString TrajectoryTableModel::columnTitle(Column column) {
    return QCoreApplication::translate("TrajectoryTable", kColumns[column].title);
}

int TrajectoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_points.size());
}

int TrajectoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrajectoryTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(m_points[size_t(index.row())], Column(index.column()));
    case Qt::ForegroundRole:
        if (isSubsonic(index.row())) return Palette::red();
        return {};  // the view's primary text colour
    default:
        return {};
    }
}

QVariant TrajectoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) return columnTitle(Column(section));
    return {};
}

Qt::ItemFlags TrajectoryTableModel::flags(const QModelIndex& index) const {
    // Shown only: not selectable, not editable.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

}  // namespace kavrino
