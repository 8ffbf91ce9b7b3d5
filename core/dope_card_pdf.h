#pragma once
// The DOPE card: a printable summary of one solve (title, load, the load's key numbers, the
// shooting conditions, and one table row per trajectory point) drawn into an in-memory PDF of
// one or more US-Letter pages.
#include "core/ballistics.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <span>

namespace kavrino::DopeCardPDF {

// The card's heading data, printed as given.
struct Meta {
    QString title;              // first line of the card
    QString load;               // name of the load (the solve's bullet name)
    double muzzleVelocity = 0;  // ft/s
    double bc = 0;              // ballistic coefficient
    QString dragModel;          // printed after the coefficient: "G1", "G7" or "Custom"
    double zeroRange = 0;       // yd
    double sightHeight = 0;     // in
    QString conditions;         // one ready-made line on the atmosphere and wind

    bool operator==(const Meta&) const = default;
};

// The card as PDF bytes: the four heading lines, the seven column titles and the rule on the
// first page, then one row per point in the order given (range, velocity, drop and wind hold in
// MOA and mil, energy), 36 rows on the first page and 43 on each further page, where nothing
// else is repeated. Faces are the bundled DejaVu Sans Mono. Returns empty bytes when no PDF
// could be drawn (no QGuiApplication, or the painter could not start). Needs the GUI thread.
QByteArray render(const Meta& meta, std::span<const TrajectoryPoint> points);

// Told the number of rows drawn so far at the start of each page and once at the end; answers
// false to stop drawing.
using RenderProgress = std::function<bool(size_t rowsDrawn)>;

// As above, reporting progress page by page; returns empty bytes when `progress` stopped it.
QByteArray render(const Meta& meta, std::span<const TrajectoryPoint> points,
                  const RenderProgress& progress);

}  // namespace kavrino::DopeCardPDF
