#include "gfx/MonitorLayout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

// Beside PixelRect, where the comparisons find them.
static bool operator==(const PixelRect& a, const PixelRect& b)
{
    return std::tie(a.x, a.y, a.width, a.height) == std::tie(b.x, b.y, b.width, b.height);
}

static std::ostream& operator<<(std::ostream& out, const PixelRect& r)
{
    return out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}

namespace {
struct Case {
    const char* name;
    PixelRect client;
    std::vector<PixelRect> monitors;
    size_t primary;
    bool spans;
    PixelRect scene;
    std::vector<PixelRect> copies;
};
} // namespace

TEST(MonitorLayout, DrawsOnThePrimaryMonitorAndFitsItsPictureIntoEveryOtherOne)
{
    const Case cases[] = {
        {"one monitor is one area", {0, 0, 1920, 1080}, {{0, 0, 1920, 1080}}, 0, false, {}, {}},
        {"a preview on one monitor of two", {100, 200, 152, 112}, {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}, 0,
         false, {}, {}},
        // A 16:9 primary beside a taller 4:3 monitor: bars above and below the copy. GL rows count
        // from the bottom of the 2304 x 768 window, below the primary's 720 rows.
        {"wide primary, 4:3 on its right", {0, 0, 2304, 768}, {{0, 0, 1280, 720}, {1280, 0, 1024, 768}}, 0, true,
         {0, 48, 1280, 720}, {{1280, 96, 1024, 576}}},
        // The primary right of the virtual screen's origin, a portrait monitor on its left with its
        // top 100 pixels higher: bars left and right of the copy.
        {"portrait monitor left of a 4:3 primary", {-1080, -100, 2104, 1920},
         {{0, 0, 1024, 768}, {-1080, -100, 1080, 1920}}, 0, true, {1080, 1052, 1024, 768},
         {{0, 555, 1080, 810}}},
        {"three monitors, the primary in the middle", {-1920, 0, 5760, 1080},
         {{-1920, 0, 1920, 1080}, {0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}, 1, true, {1920, 0, 1920, 1080},
         {{0, 0, 1920, 1080}, {3840, 0, 1920, 1080}}},
        {"a window off the primary draws on its first monitor", {1920, 0, 3840, 1080},
         {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}, {3840, 0, 1920, 1080}}, 0, true, {0, 0, 1920, 1080},
         {{1920, 0, 1920, 1080}}},
    };
    for (const Case& c : cases) {
        MonitorLayout layout;
        layout.copies.push_back({1, 2, 3, 4}); // a previous layout's copies are replaced
        ASSERT_EQ(LayOutMonitors(c.client, c.monitors, c.primary, MonitorChoice::SamePicture, layout), c.spans)
            << c.name;
        if (!c.spans)
            continue;
        EXPECT_EQ(layout.scene, c.scene) << c.name;
        EXPECT_EQ(layout.primary, c.scene) << c.name;
        EXPECT_EQ(layout.copies, c.copies) << c.name;
    }
}

TEST(MonitorLayout, TheChoiceDrawsAcrossTheWholeWindowOrOnThePrimaryAloneWithNothingCopied)
{
    // A portrait monitor left of a 4:3 primary, its top 100 pixels higher.
    const PixelRect client = {-1080, -100, 2104, 1920};
    const std::vector<PixelRect> monitors = {{0, 0, 1024, 768}, {-1080, -100, 1080, 1920}};
    MonitorLayout layout;
    ASSERT_TRUE(LayOutMonitors(client, monitors, 0, MonitorChoice::AcrossAll, layout));
    EXPECT_EQ(layout.scene, (PixelRect{0, 0, 2104, 1920}));
    EXPECT_EQ(layout.primary, (PixelRect{1080, 1052, 1024, 768})) << "the overlay's corner stays on the primary";
    EXPECT_TRUE(layout.copies.empty());
    ASSERT_TRUE(LayOutMonitors(client, monitors, 0, MonitorChoice::PrimaryOnly, layout));
    EXPECT_EQ(layout.scene, (PixelRect{1080, 1052, 1024, 768}));
    EXPECT_TRUE(layout.copies.empty());
    // One monitor, or a preview, is one area whatever the choice.
    EXPECT_FALSE(LayOutMonitors({0, 0, 1024, 768}, {monitors[0]}, 0, MonitorChoice::AcrossAll, layout));

    MonitorChoice choice = MonitorChoice::AcrossAll;
    for (const int32_t refused : {-1, 3, 100})
        EXPECT_FALSE(MonitorChoiceFromSetting(refused, choice)) << refused;
    EXPECT_EQ(choice, MonitorChoice::AcrossAll);
    ASSERT_TRUE(MonitorChoiceFromSetting(0, choice));
    EXPECT_EQ(choice, MonitorChoice::SamePicture);
    ASSERT_TRUE(MonitorChoiceFromSetting(2, choice));
    EXPECT_EQ(choice, MonitorChoice::PrimaryOnly);
    // The list the dialog offers is every stored value once, in their order, each one taken.
    int32_t next = 0;
    for (const MonitorChoiceItem& item : kMonitorChoices) {
        EXPECT_EQ(static_cast<int32_t>(item.choice), next);
        EXPECT_TRUE(MonitorChoiceFromSetting(next, choice) && choice == item.choice) << next;
        ++next;
    }
    EXPECT_FALSE(MonitorChoiceFromSetting(next, choice)) << "none beyond the list";
}

TEST(MonitorLayout, AFullScreenWindowLeavesEveryOtherMonitorToACover)
{
    const std::vector<PixelRect> sideBySide = {{0, 0, 1024, 768}, {1024, 0, 800, 600}};
    // Placed by a window manager on the second monitor, the first is the one left over.
    EXPECT_EQ(MonitorsBesides(sideBySide, {1024, 0, 800, 600}), std::vector<PixelRect>({{0, 0, 1024, 768}}));
    EXPECT_EQ(MonitorsBesides(sideBySide, {0, 0, 1024, 768}), std::vector<PixelRect>({{1024, 0, 800, 600}}));
    // A window reaching a little into the second monitor still belongs to the first.
    EXPECT_EQ(MonitorsBesides(sideBySide, {0, 0, 1100, 768}), std::vector<PixelRect>({{1024, 0, 800, 600}}));
    // A mirror of the window's monitor shows the window already; a window on no monitor leaves all.
    const std::vector<PixelRect> mirrored = {{0, 0, 1024, 768}, {1024, 0, 800, 600}, {0, 0, 1024, 768},
                                             {1024, 0, 800, 600}};
    EXPECT_EQ(MonitorsBesides(mirrored, {0, 0, 1024, 768}), std::vector<PixelRect>({{1024, 0, 800, 600}}));
    // Clones of other sizes: a laptop cloned to a projector, the window on either, gets no window
    // over its clone; two clones elsewhere get one window as large as the larger.
    const std::vector<PixelRect> cloned = {{0, 0, 1920, 1080}, {0, 0, 1024, 768}, {1920, 0, 800, 600},
                                           {1920, 0, 1280, 1024}};
    EXPECT_EQ(MonitorsBesides(cloned, {0, 0, 1920, 1080}), std::vector<PixelRect>({{1920, 0, 1280, 1024}}));
    EXPECT_EQ(MonitorsBesides(cloned, {0, 0, 1024, 768}), std::vector<PixelRect>({{1920, 0, 1280, 1024}}));
    // Monitors that only overlap (projectors blended at their edges) each keep a window.
    const std::vector<PixelRect> blended = {{0, 0, 1024, 768}, {1000, 0, 1024, 768}};
    EXPECT_EQ(MonitorsBesides(blended, {0, 0, 1024, 768}), std::vector<PixelRect>({{1000, 0, 1024, 768}}));
    EXPECT_EQ(MonitorsBesides(sideBySide, {5000, 0, 10, 10}), sideBySide);
}
