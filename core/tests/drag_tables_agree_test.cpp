// The application and the engine library each keep a copy of the standard drag tables (the
// library links nothing of the application). The two copies must be the same, row for row and
// bit for bit, or the fallback integrator and the library would fly different bullets.
#include "core/ballistics.h"
#include "drag.h"  // the engine's own tables

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <span>

namespace kavrino {
namespace {

template <size_t N>
void expectSameRows(const std::array<DragTableRow, N>& application,
                    std::span<const kavrino_engine::DragRow> engine) {
    ASSERT_EQ(application.size(), engine.size());
    for (size_t i = 0; i < N; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(application[i].mach), std::bit_cast<std::uint64_t>(engine[i].mach));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(application[i].cd), std::bit_cast<std::uint64_t>(engine[i].cd));
    }
}

TEST(DragTables, TheApplicationsCopiesEqualTheEngines) {
    expectSameRows(g1Table, kavrino_engine::drag::g1Table());
    expectSameRows(g7Table, kavrino_engine::drag::g7Table());
}

}  // namespace
}  // namespace kavrino
