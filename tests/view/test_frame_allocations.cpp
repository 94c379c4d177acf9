// A frame allocates nothing once the renderer has drawn the model: the buffers grow when it is
// handed a larger model, in its first frame, and the frames after it reuse them, for a body of the
// catalogue and a body of ten thousand faces alike, in every mode.
#include "alloccount.h"
#include "bodies/build.h"
#include "bodies/filesolid.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geodesic.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include "section_category.h"
#include <gtest/gtest.h>

#include <QImage>

#include <string>

using namespace kesmora;

namespace {

SolidModel catalogueBody(const char* name, int category) {
    static const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    Selection s;
    s.currentCategory = sectionCategory(category);
    neuwert(s, tables, name);
    return buildSolid(tables, s, name);
}

std::uint64_t allocations() {
    const bench::AllocationCounts c = bench::allocationCounts();
    return c.newCalls + c.mallocCalls;
}

TEST(FrameAllocations, NoFrameAllocatesOnceTheRendererHasTheModelEvenAfterALargerOne) {
    SolidModel small = catalogueBody("Ikosidodekaederstumpf", 2);
    SolidModel large = buildFileSolid(kesmora::testing::geodesicSphere(23));
    ASSERT_EQ(large.solid.faces.size(), 10580);
    for (DrawMode mode : kDrawModes) {
        SCOPED_TRACE(static_cast<int>(mode));
        SceneRenderer renderer;
        QImage image;
        RenderSettings settings;
        settings.mode = mode;
        // The small body first, then the large one: its first frame grows the buffers.
        for (SolidModel* model : {&small, &large}) {
            const std::uint64_t first = allocations();
            renderer.renderScene(image, {640, 400}, *model, settings);
            if (model == &large) {
                EXPECT_GT(allocations() - first, 0u); // the buffers grow, and the counter counts them
            }
            const std::uint64_t before = allocations();
            for (int frame = 0; frame < 3; ++frame) {
                rechnen(*model, 0, 0, 0.5);
                renderer.renderScene(image, {640, 400}, *model, settings);
            }
            EXPECT_EQ(allocations() - before, 0u) << model->solid.faces.size() << " faces";
        }
        // Back to the small one: the grown buffers serve it as they are.
        const std::uint64_t before = allocations();
        renderer.renderScene(image, {640, 400}, small, settings);
        EXPECT_EQ(allocations() - before, 0u);
    }
}

} // namespace
