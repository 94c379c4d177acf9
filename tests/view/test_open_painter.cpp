// The scene image the renderer keeps between redraws, with its painter open: whatever a caller does
// with the image, and however the pictures before drew into it, the next redraw is right.
#include "scene_models.h"
#include "view/renderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>

using namespace kesmora;
using namespace kesmora::testing;

namespace {

// What the window's paint box does with a redraw: copy the part it reports onto the screen.
void copyPart(QImage& screen, const QImage& scene, const QRect& part) {
    QPainter painter(&screen);
    painter.drawImage(part.topLeft(), scene, part);
}

} // namespace

// The scene image renderScene makes shares its pixels with a painter that stays open between
// redraws; these are the ways a caller can treat that image.
TEST(OpenPainter, ImagesMadeByTheRendererStayCorrectWhateverTheCallerDoes) {
    SolidModel m;
    addFace(m.solid, regular(5, 0, 0, 50), -1);
    addFace(m.solid, regular(6, 10, 5, 45), 2);
    addFace(m.dual, regular(3, 0, 0, 40), 0);
    const QSize size(300, 200);
    auto fresh = [&](DrawMode mode, QSize s) {
        RenderSettings settings;
        settings.mode = mode;
        QImage own(s, QImage::Format_RGB32); // the caller's own image: drawn with a painter of its own
        SceneRenderer().renderScene(own, s, m, settings);
        return own;
    };
    SceneRenderer renderer;
    RenderSettings settings;
    QImage scene;
    renderer.renderScene(scene, size, m, settings);
    const uchar* bits = scene.constBits();
    EXPECT_EQ(scene, fresh(settings.mode, size));

    // Redraws land in the same pixels; what the caller scribbled in between is drawn over.
    scene.fill(Qt::red);
    settings.mode = DrawMode::MultiColouredFaces;
    renderer.renderScene(scene, size, m, settings);
    EXPECT_EQ(scene.constBits(), bits);
    EXPECT_EQ(scene, fresh(DrawMode::MultiColouredFaces, size));

    // copy() is a snapshot; a plain copy shows the same pixels and so the next redraw as well.
    const QImage snapshot = scene.copy();
    const QImage shared = scene;
    renderer.renderScene(scene, size, SolidModel{}, settings);
    EXPECT_TRUE(allWhite(scene));
    EXPECT_TRUE(allWhite(shared));
    EXPECT_EQ(snapshot, fresh(DrawMode::MultiColouredFaces, size));

    // An image of another size moves the painter on; the old image keeps its picture, and one the
    // caller let go of leaves nothing behind for the next.
    QImage other;
    renderer.renderScene(other, {250, 150}, m, settings);
    EXPECT_EQ(other, fresh(DrawMode::MultiColouredFaces, {250, 150}));
    EXPECT_TRUE(allWhite(scene));
    other = QImage();
    scene = QImage();
    QImage again;
    renderer.renderScene(again, {250, 150}, m, settings);
    EXPECT_EQ(again, fresh(DrawMode::MultiColouredFaces, {250, 150}));
    renderer.renderScene(again, {0, 0}, m, settings);
    EXPECT_TRUE(again.isNull());
}

TEST(OpenPainter, NearHalfMovedAwayIsWhitenedAgain) {
    SolidModel m;
    addFace(m.solid, rect(-60, -30, -10, 30), 1);
    addFace(m.solid, rect(10, -30, 60, 30), -1);
    addFace(m.dual, rect(-30, -20, 30, 20), 0);
    SolidModel moved = m;
    for (int i = 4; i < 8; ++i)
        moved.solid.vertices[i].y += 60;
    // Without marks the near half goes through the index layer, with marks through the overlay.
    for (bool marks : {false, true}) {
        RenderSettings settings;
        settings.mode = DrawMode::Interpenetration3;
        settings.markPoints = marks;
        QImage expected, movedFresh;
        SceneRenderer().renderScene(expected, {400, 200}, m, settings);
        SceneRenderer().renderScene(movedFresh, {400, 200}, moved, settings);

        SceneRenderer renderer;
        QImage scene;
        renderer.renderScene(scene, {400, 200}, m, settings);
        EXPECT_EQ(scene, expected);
        renderer.renderScene(scene, {400, 200}, m, settings);
        EXPECT_EQ(scene, expected);
        // A near face moved elsewhere: where it was, the layers must be white again.
        renderer.renderScene(scene, {400, 200}, moved, settings);
        EXPECT_EQ(scene, movedFresh) << marks;
        EXPECT_NE(scene, expected);
    }
}

TEST(OpenPainter, RedrawsWhitenWhatThePicturesBeforeDrewAndLeaveNothingBehind) {
    // The scene canvas whitens only what the last redraw of it can have drawn; a face that moves,
    // shrinks, grows or goes must leave no pixel of its old place, in any mode, marks or not. The
    // window copies only the part each redraw reports as changed onto the screen, so a screen kept
    // that way must show the very same picture.
    SolidModel big, small, far, vast, none;
    addFace(big.solid, regular(7, -20, 10, 90), -1);
    addFace(big.solid, regular(4, 30, -20, 40), 1);
    addFace(big.dual, regular(5, 0, 0, 70), 0);
    addFace(small.solid, regular(3, 5, 5, 6), 2);
    addFace(small.dual, regular(3, -5, 0, 4), -2);
    addFace(far.solid, regular(6, 150, 80, 60), -1); // partly beyond the image
    addFace(far.dual, regular(4, -140, -90, 50), 1);
    addFace(vast.solid, regular(3, 0, 0, 40000), 1); // corners beyond what is written directly
    addFace(vast.dual, regular(5, 10, 0, 30), 0);
    const QSize size(400, 200);
    // Edges and outlines alone are erased by stroking them again; marks, wider pens and far
    // corners make the redraw whiten boxes instead, and the two may follow each other.
    for (bool marks : {false, true}) {
        for (DrawMode mode : kDrawModes) {
            RenderSettings settings;
            settings.mode = mode;
            settings.markPoints = marks;
            SceneRenderer renderer;
            QImage scene;
            QImage screen(size, QImage::Format_RGB32);
            screen.fill(Qt::black);
            int frame = 0;
            for (const SolidModel* m : {&big, &small, &far, &big, &vast, &small, &none, &small, &far, &big, &small}) {
                settings.lineWidth = ++frame == 10 ? 2 : 1;
                // Box by box: the gap between solid and dual drawn side by side is not copied.
                for (const QRect& part : renderer.renderSceneParts(scene, size, *m, settings))
                    copyPart(screen, scene, part);
                QImage fresh(size, QImage::Format_RGB32); // the caller's own image is drawn whole
                fresh.fill(Qt::black);
                EXPECT_EQ(SceneRenderer().renderScene(fresh, size, *m, settings), QRect(QPoint(0, 0), size));
                ASSERT_EQ(scene, fresh) << drawModeCaption(mode) << (marks ? " with marks" : "");
                ASSERT_EQ(screen, fresh) << drawModeCaption(mode) << (marks ? " with marks" : "");
            }
        }
    }

    // One image through every mode and both sizes of marks: the side-by-side figures move to the
    // middle and back. Scribbling on the image makes the next redraw report all of it.
    SceneRenderer renderer;
    QImage scene;
    QImage screen(size, QImage::Format_RGB32);
    screen.fill(Qt::black);
    int partial = 0;
    for (int round = 0; round < 3; ++round) {
        for (DrawMode mode : kDrawModes) {
            RenderSettings settings;
            settings.mode = mode;
            settings.markPoints = (round + static_cast<int>(mode)) % 2 == 0;
            const SolidModel& m = round == 1 ? small : big;
            const QRect changed = renderer.renderScene(scene, size, m, settings);
            if (changed != QRect(QPoint(0, 0), size)) ++partial;
            copyPart(screen, scene, changed);
            QImage fresh(size, QImage::Format_RGB32);
            SceneRenderer().renderScene(fresh, size, m, settings);
            ASSERT_EQ(screen, fresh) << round << " " << drawModeCaption(mode);
        }
        scene.setPixel(0, 0, qRgb(1, 2, 3));
    }
    EXPECT_GT(partial, 15); // only the first redraw and those after a scribble report everything
}
