#pragma once
// Until when a tile server is left alone: after it asked to be (Retry-After), or while it cannot
// be reached. The program keeps one for its whole life, handed to every map in Platform, so a
// map opened anew keeps waiting as the one before it was told to.
#include <QtGlobal>  // qint64

#include <chrono>  // std::chrono::steady_clock

namespace kavrino {

class TileServerPause {
public:
    // Milliseconds, rounded up, until the server may be asked again; 0 when it may be now.
    qint64 remainingMs() const;
    // Leaves the server alone for `ms` from now, or for as long as it already was, if longer.
    void holdFor(qint64 ms);

private:
    std::chrono::steady_clock::time_point m_until{};
};

}  // namespace kavrino
