#include "app/platform/tile_server_pause.h"

#include <algorithm>  // std::max

namespace kavrino {

qint64 TileServerPause::remainingMs() const {
    const auto left = m_until - std::chrono::steady_clock::now();
    return left.count() > 0 ? std::chrono::ceil<std::chrono::milliseconds>(left).count() : 0;
}

void TileServerPause::holdFor(qint64 ms) {
    m_until = std::max(m_until, std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

}  // namespace kavrino
