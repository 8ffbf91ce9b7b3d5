#pragma once
// Points along the smooth curve that a spline series draws through a list of points, so that a
// filled area can follow the same curve as the line drawn over it.
#include <QList>
#include <QPointF>

namespace kavrino {

// The curve through `points` as the spline series draws it: a natural cubic spline (straight at
// both ends, no bend forced there) with one parameter step from each point to the next, in x
// and y alike. Returns every given point plus `samplesPerSegment - 1` points of the curve
// between each neighbouring pair, in order. Fewer than three points, or one sample per
// segment, give the points back unchanged (two points span a straight segment).
QList<QPointF> smoothCurve(const QList<QPointF>& points, int samplesPerSegment);

// How finely an area under a curve of `pointCount` points is sampled: fine enough that a
// sparse trajectory (ten rows across a wide chart) bends like its line, and one sample per
// segment once the points alone lie closer than a few pixels.
int samplesPerSegment(qsizetype pointCount);

}  // namespace kavrino
