#pragma once
// One figure cell of a metrics strip: a title shown in capitals over its value.
#include <QColor>
#include <QString>

namespace kavrino {

struct Metric {
    QString key;     // names the cell for tests and accessibility
    QString title;   // shown in capitals
    QString value;
    QColor colour;   // invalid = the primary text colour

    bool operator==(const Metric&) const = default;
};

}  // namespace kavrino
