#include "app/shell/workspace_tab.h"

#include <QCoreApplication>

#include <iterator>  // std::size

namespace kavrino {
namespace {

struct TabInfo {
    const char* title;
    const char* caseName;
    const char* systemImage;
};

// In the order of kAllWorkspaceTabs.
constexpr TabInfo kTabs[] = {
    {"Solve", "solve", "scope"},
    {"Reload", "reload", "flame"},
    {"Catalog", "catalog", "books.vertical"},
    {"Comparison", "comparison", "chart.bar.xaxis"},
    {"Trajectory", "visualize", "chart.xyaxis.line"},
    {"Truing", "truing", "slider.horizontal.3"},
    {"GIS Targeting", "map", "map"},
    {"Import", "dataImport", "square.and.arrow.down"},
};
static_assert(std::size(kTabs) == kWorkspaceTabCount, "every workspace tab has a title and a symbol");

const TabInfo& info(WorkspaceTab tab) { return kTabs[size_t(position(tab))]; }

}  // namespace

QString title(WorkspaceTab tab) { return QString::fromLatin1(info(tab).title); }
QString caseName(WorkspaceTab tab) { return QString::fromLatin1(info(tab).caseName); }
QString systemImage(WorkspaceTab tab) { return QString::fromLatin1(info(tab).systemImage); }

QString group(WorkspaceTab tab) {
    return position(tab) < 3 ? QCoreApplication::translate("WorkspaceTab", "WORKSPACE")
                             : QCoreApplication::translate("WorkspaceTab", "PRO TOOLS");
}

std::optional<WorkspaceTab> workspaceTabFromTitle(const QString& rawValue) {
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        if (title(tab) == rawValue) return tab;
    }
    return std::nullopt;
}

WorkspaceTab workspaceTabFromEnvironmentValue(const std::optional<QString>& requested) {
    if (!requested) return WorkspaceTab::solve;
    const QString wanted = requested->toLower();
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        if (title(tab).toLower() == wanted || caseName(tab).toLower() == wanted) return tab;
    }
    return WorkspaceTab::solve;
}

}  // namespace kavrino
