// Benchmarks of what the user waits for: an animation tick against the bare cost of clearing and
// showing the image, the build of a body, a step in the body list, and the window's start-up.
// Names stay fixed from run to run so that JSON results can be compared.
#include "../tests/geodesic.h"
#include "session/bodysession.h"
#include "alloccount.h"

#include "app/mainwindow.h"
#include "app/propertieswindow.h"
#include "bodies/dualname.h"
#include "export/mesh.h"
#include "export/properties.h"
#include "geometry/symmetry.h"
#include "bodies/build.h"
#include "bodies/filesolid.h"
#include "geometry/point3d.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "view/animation.h"
#include "view/renderer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace kesmora;
using kesmora::bench::allocationCounts;
using kesmora::bench::AllocationCounts;

namespace {

const char* const kDataDir = KESMORA_DATA_DIR;

const CatalogueTables& tables() {
    static const CatalogueTables t = LoadCatalogueTables(kDataDir);
    return t;
}

struct BodyRef {
    Category category;
    int index; // position in the catalogue section (bodyIndex)
};

// The heaviest bodies of each list (most faces on solid and dual), a body with many vertices per
// face, and the cube as the lightest.
const BodyRef kBodies[] = {{Category::Archimedean, 7}, {Category::Archimedean, 24}, {Category::Johnson, 26},
                            {Category::Polyeder, 67}, {Category::Polyeder, 1}};

const QSize kSizes[] = {{1008, 534}, {1920, 1080}};

std::string sizeName(QSize s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}
std::string bodyName(BodyRef b) {
    return std::to_string(sectionNumber(b.category)) + ":" + std::to_string(b.index);
}

// A body taken over from the catalogue as a click in the body list would take it over.
struct Body {
    std::string name; // catalogue spelling (Latin-1)
    Selection selection;
};

std::optional<Body> findBody(BodyRef ref) {
    for (const std::string& name : categoryNames(tables(), ref.category)) {
        Selection s;
        s.currentCategory = ref.category;
        try {
            neuwert(s, tables(), name);
        } catch (const std::exception&) {
            continue;
        }
        if (s.bodyIndex == ref.index) return Body{name, s};
    }
    return std::nullopt;
}

// Builds the body, or says why it cannot (the data files may not hold every body yet).
std::optional<SolidModel> tryBuild(const Body& body, std::string& why) {
    try {
        Selection s = body.selection;
        neuwert(s, tables(), body.name);
        return buildSolid(tables(), s, body.name);
    } catch (const std::exception& e) {
        why = e.what();
        return std::nullopt;
    }
}

std::unique_ptr<SolidModel> modelOrSkip(benchmark::State& state, BodyRef ref) {
    const std::optional<Body> body = findBody(ref);
    if (!body) {
        state.SkipWithError(("no body " + bodyName(ref) + " in the catalogue").c_str());
        return nullptr;
    }
    std::string why;
    std::optional<SolidModel> m = tryBuild(*body, why);
    if (!m) {
        state.SkipWithError((bodyName(ref) + " does not build: " + why).c_str());
        return nullptr;
    }
    return std::make_unique<SolidModel>(*m);
}

// Allocations per iteration, measured around the timing loop.
class AllocationMeter {
  public:
    AllocationMeter() : start_(allocationCounts()) {}
    void report(benchmark::State& state) const {
        const AllocationCounts end = allocationCounts();
        const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["new_per_iter"] = static_cast<double>(end.newCalls - start_.newCalls) / n;
        state.counters["heap_per_iter"] = static_cast<double>(end.mallocCalls - start_.mallocCalls) / n;
    }

  private:
    AllocationCounts start_;
};

// The screen side of a frame: the window's paint event copies the part of the scene image that
// changed onto the widget with drawImage. A painter kept open on a screen-sized image stands in for
// the backing store.
struct Screen {
    explicit Screen(QSize size) : image(size, QImage::Format_RGB32), painter(&image) {}
    void show(const QImage& scene) { painter.drawImage(0, 0, scene); }
    void show(const QImage& scene, const QRect& changed) {
        if (!changed.isEmpty()) painter.drawImage(changed.topLeft(), scene, changed);
    }
    void show(const QImage& scene, const SceneParts& changed) {
        for (const QRect& part : changed)
            show(scene, part);
    }
    QImage image;
    QPainter painter;
};

void floorBench(benchmark::State& state, QSize size) {
    QImage scene(size, QImage::Format_RGB32);
    Screen screen(size);
    const AllocationMeter meter;
    for (auto _ : state) {
        scene.fill(Qt::white);
        screen.show(scene);
        benchmark::ClobberMemory();
    }
    meter.report(state);
}

// One timer tick exactly as the window runs it: turn by the default steps, draw the scene into the
// reused scene image (and overlay), and show it.
void runFrames(benchmark::State& state, DrawMode mode, QSize size, SolidModel* model) {
    const AnimationState animation; // steps 0, 0, 0.5 as when the window opens
    RenderSettings settings;
    settings.mode = mode;
    QImage scene;
    SceneRenderer renderer;
    Screen screen(size);
    auto tick = [&] {
        animationTick(animation, *model);
        screen.show(scene, renderer.renderSceneParts(scene, size, *model, settings));
    };

    // The window has drawn before its first tick: the scene image (and overlay) exist already.
    const AllocationCounts beforeFirst = allocationCounts();
    tick();
    const AllocationCounts afterFirst = allocationCounts();
    state.counters["first_frame_heap"] =
        static_cast<double>(afterFirst.mallocCalls - beforeFirst.mallocCalls);

    const AllocationMeter meter;
    for (auto _ : state) {
        tick();
        benchmark::ClobberMemory();
    }
    meter.report(state);
    state.counters["faces"] = model->solid.faces.size() + model->dual.faces.size();
}

void frameBench(benchmark::State& state, DrawMode mode, QSize size, BodyRef ref) {
    const std::unique_ptr<SolidModel> model = modelOrSkip(state, ref);
    if (!model) return;
    runFrames(state, mode, size, model.get());
}

void largeFrameBench(benchmark::State& state, DrawMode mode, QSize size, int frequency) {
    SolidModel model = buildFileSolid(kesmora::testing::geodesicSphere(frequency));
    runFrames(state, mode, size, &model);
}

// A result of operations as the window shows it: the recipe on the icosahedron, canonical, built
// through the body session with its dual.
void resultFrameBench(benchmark::State& state, DrawMode mode, QSize size, std::string recipe) {
    static std::map<std::string, SolidModel> built;
    auto it = built.find(recipe);
    if (it == built.end()) {
        BodySession session(std::make_shared<const CatalogueTables>(tables()));
        session.chooseBody("Ikosaeder");
        session.choose(session.withRecipe(recipe));
        it = built.emplace(recipe, session.build()).first;
    }
    SolidModel model = it->second;
    state.counters["faces"] = model.solid.faces.size() + model.dual.faces.size();
    runFrames(state, mode, size, &model);
}

void buildBench(benchmark::State& state, BodyRef ref, DualKind dual) {
    const std::optional<Body> body = findBody(ref);
    std::string why;
    if (!body || !tryBuild(*body, why)) {
        state.SkipWithError(
            (bodyName(ref) + (body ? " does not build: " + why : " is not in the catalogue")).c_str());
        return;
    }
    for (auto _ : state) {
        Selection s = body->selection;
        neuwert(s, tables(), body->name);
        const SolidModel m = buildSolid(tables(), s, body->name, dual);
        benchmark::DoNotOptimize(&m);
        benchmark::ClobberMemory();
    }
}

// Every body of the three body lists that builds with the data at hand.
std::vector<Body> buildableBodies(const std::vector<Category>& categories, int& skipped,
                                  HiddenBodies hidden = HiddenBodies::LeftOut) {
    std::vector<Body> bodies;
    skipped = 0;
    for (Category category : categories) {
        for (const std::string& name : fillBodyList(tables(), category, hidden)) {
            Body body{name, {}};
            body.selection.currentCategory = category;
            std::string why;
            if (tryBuild(body, why))
                bodies.push_back(body);
            else
                ++skipped;
        }
    }
    return bodies;
}

// Every body the lists offer, built once; with HiddenBodies::Shown all 186 of the catalogue.
void buildAllBench(benchmark::State& state, DualKind dual, HiddenBodies hidden) {
    int skipped = 0;
    const std::vector<Body> bodies = buildableBodies({kCategories.begin(), kCategories.end()}, skipped, hidden);
    if (skipped > 0)
        std::fprintf(stderr, "build/all: %d bodies do not build yet and are left out\n", skipped);
    for (auto _ : state) {
        for (const Body& body : bodies) {
            Selection s = body.selection;
            neuwert(s, tables(), body.name);
            const SolidModel m = buildSolid(tables(), s, body.name, dual);
            benchmark::DoNotOptimize(&m);
        }
        benchmark::ClobberMemory();
    }
    state.counters["bodies"] = static_cast<double>(bodies.size());
    state.counters["skipped"] = skipped;
}

// Whether a list step also hands the body to the properties window, and whether that is shown.
enum class PropertiesShown { None, Hidden, Shown };

// One arrow-key step down the list of "Archimedische Körper" (the heaviest list), wrapping at its
// end: take the next body over, build it and draw its first picture in "Durchdringung 2"; with the
// properties window, hand it the body as the main window does and let the events run. A shown
// window measures and lays out the body only once the step's picture is on screen and at most every
// PropertiesWindow::kRefreshDelayMs, so the steps run back to back here share the few refreshes
// that come due (counted in "refreshes"); properties/… measures one refresh.
// With DualKind::PolarReciprocal every build takes the reciprocal as the dual.
// With HiddenBodies::Shown the list holds the snub dodecahedron too, as with "ausgeblendete Körper
// zeigen" on.
void switchBench(benchmark::State& state, QSize size, PropertiesShown properties, DualKind dual,
                 HiddenBodies hidden) {
    int skipped = 0;
    const std::vector<Body> bodies = buildableBodies({Category::Archimedean}, skipped, hidden);
    if (bodies.empty()) {
        state.SkipWithError("no body of category 2 builds");
        return;
    }
    const RenderSettings settings; // Durchdringung 2, as the window opens
    QImage scene;
    SceneRenderer renderer;
    Screen screen(size);
    auto model = std::make_unique<SolidModel>();
    renderer.renderScene(scene, size, *model, settings);
    std::size_t row = 0;
    Selection selection;
    selection.currentCategory = Category::Archimedean;
    QWidget mainWindow;
    PropertiesWindow window(&mainWindow);
    if (properties == PropertiesShown::Shown) {
        window.show();
        QApplication::processEvents();
    }
    for (auto _ : state) {
        row = (row + 1) % bodies.size();
        const Body& body = bodies[row];
        neuwert(selection, tables(), body.name);
        *model = buildSolid(tables(), selection, body.name, dual);
        screen.show(scene, renderer.renderSceneParts(scene, size, *model, settings));
        if (properties != PropertiesShown::None) {
            window.showBody(*model, QString::fromLatin1(body.name.c_str()),
                            QString::fromLatin1(dualNameFor(tables(), Category::Archimedean, selection.bodyIndex).c_str()));
            QApplication::processEvents();
        }
        benchmark::ClobberMemory();
    }
    state.counters["bodies"] = static_cast<double>(bodies.size());
    state.counters["refreshes"] = window.refreshCount();
}

// Measuring a body's solid and dual and wording the rows, without any widget.
void propertyRowsBench(benchmark::State& state, BodyRef ref) {
    const std::unique_ptr<SolidModel> model = modelOrSkip(state, ref);
    if (!model) return;
    for (auto _ : state) {
        const std::vector<PropertyRow> rows =
            propertyRows("K\u00f6rper", "dualer K\u00f6rper", solidProperties(*model), dualProperties(*model));
        benchmark::DoNotOptimize(rows.data());
        benchmark::ClobberMemory();
    }
}

// The search for a body's symmetry group, on the solid alone (the properties measure the dual's too).
void symmetryBench(benchmark::State& state, BodyRef ref) {
    const std::unique_ptr<SolidModel> model = modelOrSkip(state, ref);
    if (!model) return;
    const PolyMesh mesh = solidMesh(*model);
    for (auto _ : state) {
        const SymmetryGroup group = symmetryGroup(mesh);
        benchmark::DoNotOptimize(group.order);
    }
    state.counters["vertices"] = static_cast<double>(mesh.vertices.size());
}

// The properties window's own work for a body while shown: measuring solid and dual, wording the
// rows, setting the labels, and Qt's layout and paint. Each iteration shows the body and then the
// cube, so that every label changes as in a list step: an upper bound for the body alone.
void propertiesBench(benchmark::State& state, BodyRef ref) {
    const std::unique_ptr<SolidModel> model = modelOrSkip(state, ref);
    if (!model) return;
    const std::unique_ptr<SolidModel> cube = modelOrSkip(state, {Category::Polyeder, 1});
    if (!cube) return;
    QWidget mainWindow;
    PropertiesWindow window(&mainWindow);
    window.show();
    QApplication::processEvents();
    const QString name = QString::fromUtf8("K\u00f6rper"), dual = QString::fromUtf8("dualer K\u00f6rper");
    for (auto _ : state) {
        for (const SolidModel* shown : {model.get(), cube.get()}) {
            window.showBody(*shown, name, dual);
            window.catchUp(); // what the window does once the picture is on screen
            QApplication::processEvents();
        }
        benchmark::ClobberMemory();
    }
    state.counters["faces"] = model->solid.faces.size() + model->dual.faces.size();
}

// Everything the window does before its first paint: FormCreate with the table loading, the
// controls, the body list and the initial selection. The window is not shown.
void startupBench(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<TMainForm>(kDataDir);
        benchmark::DoNotOptimize(window.get());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void registerAll() {
    for (QSize size : kSizes)
        benchmark::RegisterBenchmark(("floor/" + sizeName(size)).c_str(), floorBench, size);
    for (DrawMode mode : kDrawModes) {
        for (QSize size : kSizes) {
            for (BodyRef body : kBodies) {
                const std::string name = "frame/" + std::to_string(static_cast<int>(mode)) + "/" +
                                         sizeName(size) + "/" + bodyName(body);
                benchmark::RegisterBenchmark(name.c_str(), frameBench, mode, size, body);
            }
        }
    }
    // A body of 10 580 faces (a geodesic sphere of frequency 23) with its dual of 5 292.
    for (DrawMode mode : kDrawModes) {
        const std::string name = "frame-large/" + std::to_string(static_cast<int>(mode)) + "/" +
                                 sizeName(kSizes[0]) + "/geodesic-10580";
        benchmark::RegisterBenchmark(name.c_str(), largeFrameBench, mode, kSizes[0], 23);
    }
    // A result of operations of 9 720 faces (tkttb on the icosahedron, canonical) with its dual of
    // 4 862, in the modes the operations' frames are measured in.
    for (DrawMode mode : {DrawMode::EdgeModel, DrawMode::ColouredFaces, DrawMode::Interpenetration}) {
        const std::string name = "frame-result/" + std::to_string(static_cast<int>(mode)) + "/" +
                                 sizeName(kSizes[0]) + "/tkttbI";
        benchmark::RegisterBenchmark(name.c_str(), resultFrameBench, mode, kSizes[0], std::string("tkttb"));
    }
    for (BodyRef body : kBodies)
        benchmark::RegisterBenchmark(("build/" + bodyName(body)).c_str(), buildBench, body,
                                     DualKind::Catalogue);
    benchmark::RegisterBenchmark("build/all", buildAllBench, DualKind::Catalogue, HiddenBodies::LeftOut);
    benchmark::RegisterBenchmark("build/all-186", buildAllBench, DualKind::Catalogue, HiddenBodies::Shown);
    // The same with "Dual als polare Reziproke" on.
    for (BodyRef body : kBodies)
        benchmark::RegisterBenchmark(("build-reciprocal/" + bodyName(body)).c_str(), buildBench, body,
                                     DualKind::PolarReciprocal);
    benchmark::RegisterBenchmark("build-reciprocal/all", buildAllBench, DualKind::PolarReciprocal,
                                 HiddenBodies::LeftOut);
    for (QSize size : kSizes)
        benchmark::RegisterBenchmark(("switch/" + sizeName(size)).c_str(), switchBench, size,
                                     PropertiesShown::None, DualKind::Catalogue, HiddenBodies::LeftOut);
    benchmark::RegisterBenchmark("switch/properties-hidden/1008x534", switchBench, kSizes[0],
                                 PropertiesShown::Hidden, DualKind::Catalogue, HiddenBodies::LeftOut);
    benchmark::RegisterBenchmark("switch/hidden-shown/1008x534", switchBench, kSizes[0], PropertiesShown::None,
                                 DualKind::Catalogue, HiddenBodies::Shown);
    benchmark::RegisterBenchmark("switch/properties-shown/1008x534", switchBench, kSizes[0],
                                 PropertiesShown::Shown, DualKind::Catalogue, HiddenBodies::LeftOut);
    for (QSize size : kSizes)
        benchmark::RegisterBenchmark(("switch-reciprocal/" + sizeName(size)).c_str(), switchBench, size,
                                     PropertiesShown::None, DualKind::PolarReciprocal, HiddenBodies::LeftOut);
    for (BodyRef body : kBodies)
        benchmark::RegisterBenchmark(("properties/" + bodyName(body)).c_str(), propertiesBench, body);
    for (BodyRef body : kBodies)
        benchmark::RegisterBenchmark(("properties/rows/" + bodyName(body)).c_str(), propertyRowsBench, body);
    for (BodyRef body : kBodies)
        benchmark::RegisterBenchmark(("symmetry/" + bodyName(body)).c_str(), symmetryBench, body);
    benchmark::RegisterBenchmark("startup", startupBench)->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    // The window classes need an application object; no display is wanted for measuring.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    try {
        tables();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot load the catalogue from %s: %s\n", kDataDir, e.what());
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
