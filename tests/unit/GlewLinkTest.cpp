#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>

// The saver links GLEW statically on Windows (built from the source package) and dynamically on
// Linux; this proves the library is there and is the version the video code is written against.
// glewGetString needs no rendering context.
TEST(Glew, LinksAndReportsItsVersion)
{
    const char* version = reinterpret_cast<const char*>(glewGetString(GLEW_VERSION));
    ASSERT_NE(nullptr, version);
    EXPECT_EQ(0, std::strncmp(version, "2.", 2)) << version;
}
