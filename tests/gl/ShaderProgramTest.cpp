#include "gl/GlTest.h"

#include "gfx/ShaderProgram.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {
const std::vector<std::string> kBuilt = {"   Notify : Start CreateOGLProgram()", "   Notify : Vertex shader is built",
                                         "   Notify : Fragment shader is built",
                                         "   Notify : OGL program is created and built"};

std::vector<std::string> FirstRecords(size_t count)
{
    return std::vector<std::string>(kBuilt.begin(), kBuilt.begin() + static_cast<long>(count));
}

// Builds a program and checks that every input its user asks for is there.
void ExpectProgram(uint16_t vertex, uint16_t fragment, std::initializer_list<const char*> attributes,
                   std::initializer_list<const char*> uniforms)
{
    StartTestLog();
    uint32_t program = 0;
    ASSERT_EQ(CreateOGLProgram(vertex, fragment, program), 0) << vertex << "+" << fragment;
    EXPECT_NE(program, 0u);
    EXPECT_EQ(TestLogRecords(), kBuilt);
    for (const char* name : attributes)
        EXPECT_NE(glGetAttribLocation(program, name), -1) << vertex << "+" << fragment << ": " << name;
    for (const char* name : uniforms)
        EXPECT_NE(glGetUniformLocation(program, name), -1) << vertex << "+" << fragment << ": " << name;
}
} // namespace

TEST(ShaderPrograms, EveryProgramOfTheSceneBuildsAndExposesWhatItsUserQueries)
{
    // The creature: scale, wrinkles, eyes and horns on the one ribbon vertex shader.
    for (uint16_t fragment : {111, 110, 112, 113})
        ExpectProgram(114, fragment, {"aGridPoint", "aNormal", "aGridX", "aGridY"},
                      {"uRibbonMatrixes", "uRibbonVertexes"});
    ExpectProgram(125, 124, {"aGridPoint", "aNormal", "aGridX", "aGridY"},
                  {"uRibbonVertexes", "uRibbonMatrixes", "uRibbonLength"});
    ExpectProgram(129, 128, {"aGridPoint"}, {"uTransformationMatrix", "uSphereCenter"});
}

TEST(ShaderPrograms, FailuresStopAtTheirStepWithoutARecordOfTheirOwn)
{
    struct Case {
        const char* what;
        uint16_t vertex, fragment;
        size_t records;
    };
    for (const Case& c : {Case{"a missing vertex text", 999, 113, 1}, Case{"a missing fragment text", 114, 999, 2},
                          Case{"a fragment text that does not compile", 114, 902, 2},
                          Case{"a vertex text that does not compile", 902, 113, 1},
                          Case{"a text without its NUL", 0, 903, 2},
                          Case{"shaders that do not link", 904, 113, 3}}) {
        StartTestLog();
        uint32_t program = 77;
        EXPECT_EQ(CreateOGLProgram(c.vertex, c.fragment, program), 1) << c.what;
        EXPECT_EQ(program, 77u) << c.what << " leaves the program alone";
        EXPECT_EQ(TestLogRecords(), FirstRecords(c.records)) << c.what;
    }
}

TEST(ShaderPrograms, IdZeroBuildsWithoutThatStageAndStillRecordsIt)
{
    StartTestLog();
    uint32_t program = 0;
    ASSERT_EQ(CreateOGLProgram(0, 113, program), 0);
    EXPECT_EQ(TestLogRecords(), kBuilt);
    GLint shaders = -1;
    glGetProgramiv(program, GL_ATTACHED_SHADERS, &shaders);
    EXPECT_EQ(shaders, 1);

    StartTestLog();
    ASSERT_EQ(CreateOGLProgram(114, 0, program), 0);
    EXPECT_EQ(TestLogRecords(), kBuilt);
}

TEST(ShaderPrograms, ASourceHoldsOnePointerIntoTheResourceAndLetsGo)
{
    ShaderSource source;
    EXPECT_FALSE(source.IsLoaded());
    EXPECT_EQ(source.Count(), -1);
    source.Load(903);
    EXPECT_FALSE(source.IsLoaded());
    source.Load(113);
    ASSERT_TRUE(source.IsLoaded());
    const char* const first = source.Texts()[0];
    source.Load(113);
    EXPECT_EQ(source.Texts()[0], first) << "the text is not copied";
    source.Release();
    EXPECT_FALSE(source.IsLoaded());
    EXPECT_EQ(source.Texts(), nullptr);
}
