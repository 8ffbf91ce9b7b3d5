#pragma once
// Dialogs for tests: every question is answered at once from a queue set up beforehand, and
// every alert is recorded.
#include "app/platform/dialogs.h"

#include <deque>
#include <vector>

namespace kavrino {

class FakeDialogs final : public Dialogs {
public:
    std::deque<std::optional<QString>> filesToOpen;  // answers in order; empty queue = Cancel
    std::deque<std::optional<QString>> filesToSave;  // answers in order; empty queue = Cancel
    std::deque<int> alertAnswers;                    // button indexes in order; empty queue = 0
    std::vector<Alert> alertsShown;                  // in order
    QStringList openTitles;
    QStringList saveDefaultNames;
    std::vector<QStringList> saveNameFilters;  // the filters of each save panel, in order

    std::optional<QString> chooseFileToOpen(const QString& title, const QStringList&) override {
        openTitles << title;
        return next(filesToOpen);
    }
    std::optional<QString> chooseFileToSave(const QString&, const QString& defaultName,
                                            const QStringList& nameFilters) override {
        saveDefaultNames << defaultName;
        saveNameFilters.push_back(nameFilters);
        return next(filesToSave);
    }
    int runAlert(const Alert& alert) override {
        alertsShown.push_back(alert);
        if (alertAnswers.empty()) return 0;
        const int answer = alertAnswers.front();
        alertAnswers.pop_front();
        return answer;
    }

private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& answers) {
        if (answers.empty()) return std::nullopt;
        const bool chosen = answers.front().has_value();
        const QString path = answers.front().value_or(QString());
        answers.pop_front();
        if (!chosen) return std::nullopt;
        return path;
    }
};

}  // namespace kavrino
