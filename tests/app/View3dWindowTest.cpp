// The plan window's 3D view: fed like the plan, picked with the pointer, its camera kept while
// the window shows another view. Runs on the xcb platform of a virtual X server, where OpenGL
// renders in software: the offscreen platform cannot show OpenGL in a window.

#include "PlanWindowFixture.h"

#include "PlanCanvas.h"
#include "PlanWindow.h"
#include "View3dPanel.h"
#include "View3dWidget.h"
#include "plan/PlanHitTest.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

namespace pw::test {

class View3dWindowTest : public QObject, private PlanWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        open();
        QVERIFY(!demo.isEmpty());
    }

    void cleanup() { close(); }

    void showsThePreviewPicksAFooterAndKeepsItsCamera()
    {
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
        PlanWindow& window = plan->window();
        QWidget* keyboard = QApplication::focusWidget();
        window.findChild<QAction*>(QStringLiteral("planThreeDView"))->trigger();
        View3dWidget* view = window.view3d()->view();
        // A test machine without OpenGL fails here: it must not pass in silence.
        QVERIFY2(view != nullptr, qPrintable(window.view3d()->message()));
        QTRY_VERIFY(view->scene() != nullptr && view->isVisible());
        QCOMPARE(view->scene()->preview.size(), std::size_t{21});
        QCOMPARE(QApplication::focusWidget(), keyboard);
        // Read in the background: each footer becomes its model's mesh once it arrives.
        QTRY_COMPARE(view->scene()->models.size(), std::size_t{5});  // small to xx-large
        const Footer3d& largest = view->scene()->preview.back();
        ModelReaderClient reader;
        QCOMPARE(view->scene()
                     ->models[static_cast<std::size_t>(largest.model)]
                     .meshes.front()
                     .mesh.positions,
                 reader.read(PLINTHWRIGHT_EXAMPLES_DIR "/models/xxlarge.3ds")
                     .meshes.front()
                     .mesh.positions);

        // The largest footer, clicked at the middle of its model's box.
        const QImage picture = view->grabFramebuffer();
        QCOMPARE(picture.size(), view->size() * view->devicePixelRatio());
        QTest::mouseClick(view, Qt::LeftButton, {}, middleOf(*view, view->scene()->preview.back()));
        QCOMPARE(view->picked().kind, Pick3d::Kind::PreviewFooter);
        QCOMPARE(describePick(*view->scene(), view->picked()),
                 describeFooter(view->scene()->preview[view->picked().index].facts, true));
        QCOMPARE(window.focusWidget(), view);  // clicked: the arrows are its own now

        QTest::keyClick(view, Qt::Key_Left);
        const float yaw = view->camera().yawDegrees();
        QCOMPARE(yaw, OrbitCamera::defaultYawDegrees + 5.0f);
        window.findChild<QAction*>(QStringLiteral("planTopView"))->trigger();
        QCOMPARE(window.canvas()->scene().view, PlanView::Top);
        window.findChild<QAction*>(QStringLiteral("planThreeDView"))->trigger();
        QCOMPARE(view->camera().yawDegrees(), yaw);

        // Generate: the preview becomes the track's footers. Another track fits the camera.
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        h->click("buttonGenerate");
        QTRY_COMPARE(view->scene()->footers.size(), std::size_t{21});
        QCOMPARE(view->scene()->preview.size(), std::size_t{0});
        QCOMPARE(view->camera().yawDegrees(), yaw);
        h->replies = {QMessageBox::Discard};  // the generated footers are not saved
        h->click("buttonSelectInput", {demo});
        QTRY_COMPARE(view->camera().yawDegrees(), OrbitCamera::defaultYawDegrees);
    }

    // A footer picked in 3D takes the plan's keys and menu for its support; the preview follows.
    void aPickedFooterTakesTheSupportsChoices()
    {
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
        PlanWindow& window = plan->window();
        window.findChild<QAction*>(QStringLiteral("planThreeDView"))->trigger();
        View3dWidget* view = window.view3d()->view();
        QVERIFY2(view != nullptr, qPrintable(window.view3d()->message()));
        QTRY_VERIFY(view->scene() != nullptr && view->isVisible());
        QTRY_COMPARE(view->scene()->models.size(), std::size_t{5});
        QCOMPARE(view->scene()->preview.size(), std::size_t{21});
        const Footer3d footer = view->scene()->preview.back();
        const std::optional<std::int32_t> support = fundamentUnder(footer);
        QVERIFY(support.has_value());

        QTest::mouseClick(view, Qt::LeftButton, {}, middleOf(*view, footer));
        QCOMPARE(plan->pickedSupport(), support);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(*h->window->session().supportChoices().find(*support), SupportChoice::noFooter());
        QTRY_COMPARE(view->scene()->preview.size(), std::size_t{20});
        for (const Footer3d& shown : view->scene()->preview)
            QVERIFY(!(shown.facts.position == footer.facts.position));

        // Another footer, by a right click: the same menu, and Backspace's item now enabled.
        const Footer3d other = view->scene()->preview.front();
        const QPoint at = middleOf(*view, other);
        QTest::mousePress(view, Qt::RightButton, {}, at);
        QTest::mouseRelease(view, Qt::RightButton, {}, at);
        QCOMPARE(plan->pickedSupport(), fundamentUnder(other));
        QMenu* menu = plan->supportMenu();
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().size(), 7);
        QVERIFY(!menu->actions().back()->isEnabled());  // no choice of its own yet
        menu->actions()[5]->trigger();                   // the xx-large model
        menu->close();
        QCOMPARE(*h->window->session().supportChoices().find(*fundamentUnder(other)),
                 SupportChoice::modelOf(TubeSizeClass::XXLarge));
    }

    // A screen grabber holding the plan window's X window once hung the X server when the first
    // switch to 3D made the window anew.
    void switchingViewsKeepsTheNativeWindow()
    {
        h->click("buttonSelectInput", {demo});
        PlanWindow& window = plan->window();
        QTRY_VERIFY(window.isVisible());
        const WId native = window.winId();
        const QWindow* handle = window.windowHandle();
        for (const char* action : {"planThreeDView", "planTopView", "planThreeDView",
                                   "planSideView", "planThreeDView"}) {
            window.findChild<QAction*>(QLatin1String(action))->trigger();
            QTest::qWait(20);
            QCOMPARE(window.windowHandle(), handle);
            QCOMPARE(window.winId(), native);
        }
        View3dWidget* view = window.view3d()->view();
        QVERIFY2(view != nullptr, qPrintable(window.view3d()->message()));
        QTRY_VERIFY(view->frameTiming().frames() > 0);

        // Each frame that shows an input is timed from it.
        const long frames = view->frameTiming().frames();
        QTest::keyClick(view, Qt::Key_Left);
        QTRY_VERIFY(view->frameTiming().frames() > frames);
        const FrameTiming::Frame& shown = view->frameTiming().last();
        QVERIFY(shown.inputDelayMs.has_value());
        QVERIFY(*shown.inputDelayMs >= shown.drawMs);
        QVERIFY(shown.drawMs > 0.0);
    }

private:
    // The middle of a footer's model box, where a click picks it.
    static QPoint middleOf(const View3dWidget& view, const Footer3d& footer)
    {
        const Model3d& model = view.scene()->models[static_cast<std::size_t>(footer.model)];
        const Vector3 centre{footer.facts.position.x,
                             footer.facts.position.y +
                                 footer.facts.scale * 0.5f * (model.minimum.y + model.maximum.y),
                             footer.facts.position.z};
        return view.camera().pixelOf(centre, view.size())->toPoint();
    }
    std::optional<std::int32_t> fundamentUnder(const Footer3d& footer) const
    {
        const std::vector<Fundament>& fundaments = h->window->session().track().fundaments;
        for (std::size_t i = 0; i < fundaments.size(); ++i)
            if (fundaments[i].position == footer.facts.position)
                return static_cast<std::int32_t>(i);
        return std::nullopt;
    }
};

PW_WINDOW_TEST(View3dWindowTest)

}  // namespace pw::test

#include "View3dWindowTest.moc"
