#pragma once
// Counts the solves of a SolveModel in tests: a solve replaces the trajectory with rows of new
// ids and sets a new solve time; a change of inputs does neither.
#include "core/solve_model.h"

#include <QObject>
#include <QUuid>

namespace kavrino::test_support {

class SolveCounter {
public:
    explicit SolveCounter(SolveModel& model) : m_model(model) {
        QObject::connect(&model, &SolveModel::changed, &m_context, [this] {
            if (firstId() != m_first || m_model.lastSolveMs() != m_lastMs) ++m_count;
            remember();
        });
        remember();
    }
    int count() const { return m_count; }

private:
    QUuid firstId() const { return m_model.trajectory().empty() ? QUuid() : m_model.trajectory().front().id; }
    void remember() {
        m_first = firstId();
        m_lastMs = m_model.lastSolveMs();
    }

    SolveModel& m_model;
    QObject m_context;
    QUuid m_first;
    double m_lastMs = -1;
    int m_count = 0;
};

}  // namespace kavrino::test_support
