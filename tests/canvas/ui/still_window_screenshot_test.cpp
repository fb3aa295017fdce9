// Measures a synthetic specimen with many tools through real mouse events and, when
// LENSORA_SCREENSHOT names a PNG path, saves a picture of the window there (run it under
// xvfb-run to see the program as a user does). Without the variable it still checks that every
// tool stored its record.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <cmath>
#include <numbers>

#include "app/app_state.h"
#include "base/ui/skin.h"
#include "canvas/ui/still_canvas.h"
#include "canvas/ui/still_window.h"
#include "imaging/cx_image.h"
#include "platform/system_paths.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::FakePrompts;
using test::TempDir;

// A specimen under the microscope: a warm gradient with grain, a dark washer with a bright
// hole, a bright particle and two dark bars.
std::string WriteSpecimen(const TempDir& dir) {
    CxImage image;
    EXPECT_TRUE(image.Create(640, 480, 24));
    std::uint32_t seed = 12345;
    for (int y = 0; y < 480; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < 640; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28) - 8;
            const double r = std::hypot(x - 220.0, y - 240.0);
            int base = 200 - (x + y) / 16;
            if (r <= 110 && r > 40) {
                base = 45;
            } else if (std::hypot(x - 585.0, y - 130.0) <= 22) {
                base = 240;
            } else if ((x >= 400 && x < 440 && y >= 70 && y < 420) ||
                       (x >= 500 && x < 530 && y >= 70 && y < 420)) {
                base = 55;
            }
            const int v = std::clamp(base + grain, 0, 255);
            row[3 * x] = std::uint8_t(v * 0.80);
            row[3 * x + 1] = std::uint8_t(v * 0.92);
            row[3 * x + 2] = std::uint8_t(v);
        }
    }
    const std::string path = dir.Sub("Still_2026-12-08_101500_100X_N0001.bmp");
    EXPECT_TRUE(image.SaveToFile(path, kImageTypeBmp));
    return path;
}

class Operator {
  public:
    explicit Operator(StillCanvas* canvas) : canvas_(canvas) {}
    void Send(QEvent::Type type, int x, int y, Qt::MouseButton button) {
        const QPointF local(x, y);
        const QPointF global = canvas_->viewport()->mapToGlobal(local);
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        QMouseEvent event(type, local, global, type == QEvent::MouseMove ? Qt::NoButton : button,
                          press ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas_->viewport(), &event);
    }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseMove, x, y, Qt::NoButton);
        Send(QEvent::MouseButtonPress, x, y, button);
        Send(QEvent::MouseButtonRelease, x, y, button);
    }
    void DoubleClick(int x, int y) {
        Click(x, y);
        Send(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, x, y, Qt::LeftButton);
    }
    void Clicks(std::initializer_list<QPoint> points) {
        for (const QPoint& p : points) {
            Click(p.x(), p.y());
        }
    }

  private:
    StillCanvas* canvas_;
};

TEST(StillWindowScreenshot, ASpecimenMeasuredWithManyTools) {
    TempDir dir;
    MemorySettingsStore store;
    AppState app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    app.Initialise();
    skin::SetIconFolder(QString::fromStdString(ResourceFolder()) + QStringLiteral("/icons"));
    FakePrompts prompts;
    QPointer<StillWindow> window = StillWindow::Open(app, std::filesystem::path(WriteSpecimen(dir)),
                                                     nullptr, prompts, &prompts);
    ASSERT_TRUE(window);
    window->ScaleBox()->setText(QStringLiteral("100"));
    StillCanvas* canvas = window->Canvas();
    ASSERT_NE(canvas, nullptr);
    Operator op(canvas);
    std::vector<int> kinds;
    const auto use = [&](int command) { ASSERT_TRUE(canvas->ChooseCommand(command)) << command; };

    use(1317);  // automatic circle: clicks near the washer's rim snap onto it
    op.Clicks({{121, 183}, {113, 279}, {181, 347}, {259, 347}, {319, 297}, {327, 201}});
    op.Click(336, 300, Qt::RightButton);
    use(1253);  // radius circle round the particle
    op.Clicks({{585, 130}, {607, 130}, {548, 160}});
    use(1249);  // straight line across the hole
    op.Clicks({{180, 240}, {260, 240}, {190, 262}});
    use(1231);  // arc in the lower left
    op.Clicks({{30, 420}, {80, 360}, {130, 420}, {40, 300}});
    use(1256);  // angle at the washer's centre
    op.Clicks({{140, 380}, {220, 240}, {300, 380}, {240, 410}});
    use(1309);  // parallel line: the first bar's width
    op.Clicks({{400, 60}, {440, 60}, {404, 30}});
    use(399);  // dot line: from the second bar's edge to a point
    op.Clicks({{500, 70}, {500, 420}, {585, 300}, {560, 330}});
    use(1251);  // rectangle round the bars' lower ends
    op.Clicks({{390, 430}, {540, 470}, {560, 380}});
    use(1252);  // polygon round the upper-left grain
    op.Clicks({{30, 40}, {110, 30}, {140, 90}});
    op.DoubleClick(60, 110);
    op.Click(40, 130);
    use(1255);  // three-point circle on the inner hole
    op.Clicks({{180, 240}, {220, 200}, {260, 240}, {250, 15}});
    use(1312);  // automatic line spacing: one segment along each facing bar edge
    op.Clicks({{443, 150}, {443, 300}, {497, 160}, {497, 310}, {447, 262}});
    use(1310);  // circle labels
    op.Clicks({{470, 150}, {470, 350}});
    use(1311);  // square label
    op.Click(590, 440);
    canvas->EnterText(QStringLiteral("washer, lot 7"), DefaultLogFont(), 0x00FFFF);
    op.Click(20, 450);

    for (const auto& r : canvas->Records().records) {
        kinds.push_back(r->kind);
    }
    EXPECT_EQ(kinds, (std::vector<int>{19, 2, 1, 222, 5, 12, 22, 3, 7, 9, 18, 13, 13, 14, 4}));

    // The automatic tools found the real edges: the washer's rim and the 60-pixel gap.
    const auto& records = canvas->Records().records;
    EXPECT_NEAR(records[0]->fitRadius, 110.0, 1.5);
    const MeasureRecord& spacing = *records[10];
    EXPECT_NEAR(std::hypot(spacing.points[1].x - spacing.points[0].x,
                           spacing.points[1].y - spacing.points[0].y),
                60.0, 1.5);

    if (const QByteArray path = qgetenv("LENSORA_SCREENSHOT"); !path.isEmpty()) {
        window->show();
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(path)));
    }
    delete window;
}

}  // namespace
}  // namespace lensora
