#pragma once
// Dialogs for tests: every question is answered at once from a queue set up beforehand, and
// every alert is recorded.
#include "app/platform/dialogs.h"

#include <deque>
#include <memory>
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
    QStringList progressLabels;                // each progress shown, in order
    std::vector<int> progressReported;         // every step reported, in order
    int cancelProgressAt = -1;                 // the step at which the user cancels; -1 never
    int progressOpen = 0;                      // progress shown and not yet closed
    int alertsOverProgress = 0;                // alerts shown while a progress was still open

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
        if (progressOpen > 0) ++alertsOverProgress;
        if (alertAnswers.empty()) return 0;
        const int answer = alertAnswers.front();
        alertAnswers.pop_front();
        return answer;
    }

    std::unique_ptr<Progress> showProgress(const QString& label, int) override {
        progressLabels << label;
        return std::make_unique<Recorded>(*this);
    }

private:
    struct Recorded final : Progress {
        explicit Recorded(FakeDialogs& dialogs) : owner(dialogs) { ++owner.progressOpen; }
        ~Recorded() override { --owner.progressOpen; }
        bool advance(int done) override {
            owner.progressReported.push_back(done);
            return owner.cancelProgressAt < 0 || done < owner.cancelProgressAt;
        }
        FakeDialogs& owner;
    };

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
