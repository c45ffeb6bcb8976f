// The three vertex shaders of the scene on the GPU: known points drawn with known uniforms land
// where the ribbon's mapping on the CPU puts them (worked out here from the ribbon's written
// rule: node index by floor, the remainder behind the node along its direction, y along its side,
// z along its up axis), and carry their normals through the same matrix. The projection is the
// identity, so a scene point (x, y) shows at the view's pixel ((x + 1) / 2 · width, (y + 1) / 2 ·
// height).

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/ShaderProgram.h"
#include "gfx/Vec3.h"
#include "scene/Ribbon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {
constexpr int kNodes = 20;
const Vec3 kNormal(0.6, 0.64, 0.48);

// A bent strip: each node turned about z by its own angle and tilted about its direction.
void Bend(Ribbon& ribbon)
{
    for (int k = 0; k < kNodes; ++k) {
        const double a = 0.3 + 0.1 * k, t = 0.2 + 0.03 * k;
        const Vec3 d(std::cos(a), std::sin(a), 0.0);
        const Vec3 s(-std::sin(a) * std::cos(t), std::cos(a) * std::cos(t), std::sin(t));
        ribbon.nodes[k] = {Vec3(-0.6 + 0.06 * k, 0.3 * std::sin(0.5 * k), 0.0), d, s, d.Cross(s)};
    }
}

// The ribbon's mapping of a model point, with the offset along the strip stretched by `length`.
Vec3 Mapped(const Ribbon& ribbon, const Vec3& point, double length)
{
    const double inverseX = 1.0 - point.x;
    const int i = static_cast<int>(std::floor(inverseX * 20.0));
    const double behind = std::fmod(inverseX, 0.05) * length;
    const RibbonNode& n = ribbon.nodes[i];
    return n.position - n.direction * behind + n.side * point.y + n.up * point.z;
}

Vec3 MappedNormal(const Ribbon& ribbon, double x)
{
    const RibbonNode& n = ribbon.nodes[static_cast<int>(std::floor((1.0 - x) * 20.0))];
    return n.direction * kNormal.x + n.side * kNormal.y + n.up * kNormal.z;
}

// The ribbon's own float arrays, as the creature hands them to its programs.
void UploadRibbon(uint32_t program, Ribbon& ribbon)
{
    glUniformMatrix3fv(glGetUniformLocation(program, "uRibbonMatrixes"), kNodes, GL_FALSE, ribbon.FillMatrixes());
    glUniform3fv(glGetUniformLocation(program, "uRibbonVertexes"), kNodes, ribbon.FillVertexes());
    for (const char* name : {"aNormal", "aGridX", "aGridY"}) {
        const GLint location = glGetAttribLocation(program, name);
        if (location != -1)
            glVertexAttrib3f(static_cast<GLuint>(location), static_cast<float>(kNormal.x),
                             static_cast<float>(kNormal.y), static_cast<float>(kNormal.z));
    }
}

struct Landing {
    int x = -1, y = -1; // the lit pixel, -1 when none
    Rgb colour = {0, 0, 0};
    int litPixels = 0;
};

// Draws one point with the program in use and finds the pixel it lit.
Landing DrawPoint(const Vec3& point)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_POINTS);
    glVertex3d(point.x, point.y, point.z);
    glEnd();
    const std::vector<unsigned char> pixels = ReadView();
    Landing landing;
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * kViewWidth + x) * 4];
            if (p[0] + p[1] + p[2] == 0)
                continue;
            ++landing.litPixels;
            landing = {x, y, {p[0], p[1], p[2]}, landing.litPixels};
        }
    return landing;
}

::testing::AssertionResult LandsAt(const Landing& landing, const Vec3& scene, const Vec3& normal)
{
    const double px = (scene.x + 1.0) / 2.0 * kViewWidth, py = (scene.y + 1.0) / 2.0 * kViewHeight;
    const auto byte = [](double c) { return static_cast<int>(std::lround((0.5 + 0.5 * c) * 255.0)); };
    const Rgb colour = {byte(normal.x), byte(normal.y), byte(normal.z)};
    if (landing.litPixels == 1 && std::fabs(landing.x + 0.5 - px) <= 1.0 && std::fabs(landing.y + 0.5 - py) <= 1.0 &&
        std::abs(landing.colour.r - colour.r) <= 2 && std::abs(landing.colour.g - colour.g) <= 2 &&
        std::abs(landing.colour.b - colour.b) <= 2)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << landing.litPixels << " pixel(s) lit, last at (" << landing.x << ", "
                                         << landing.y << ") in (" << landing.colour.r << ", " << landing.colour.g
                                         << ", " << landing.colour.b << "); expected (" << px << ", " << py
                                         << ") in (" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}

class VertexShaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseIdentityView();
        glDisable(GL_CULL_FACE);
        glPointSize(1.0f);
        glClearColor(0, 0, 0, 0);
    }
    void TearDown() override { UseProgram(0); }
};

// Model points between the node borders: the head, the wing anchor's neighbourhood, the tail end.
const Vec3 kModelPoints[] = {Vec3(0.99, 0.1, 0.05), Vec3(0.57, -0.12, 0.03), Vec3(0.33, 0.05, -0.1),
                             Vec3(0.01, 0.08, 0.02)};
} // namespace

// The creature's ribbon shader (114), which lands where the ribbon's own TransformVertex says, and
// the stalk's (125), which stretches only the distance along the stalk by uRibbonLength.
TEST_F(VertexShaderTest, RibbonShadersMapPointsAndNormalsAsTheRibbonDoes)
{
    Ribbon ribbon;
    Bend(ribbon);
    for (const auto& [vertexShader, length] : {std::pair<uint16_t, double>(114, 1.0), {125, 3.0}}) {
        SCOPED_TRACE(vertexShader);
        uint32_t program = 0;
        ASSERT_EQ(CreateOGLProgram(vertexShader, 905, program), 0);
        UseProgram(program);
        UploadRibbon(program, ribbon);
        if (vertexShader == 125)
            glUniform1f(glGetUniformLocation(program, "uRibbonLength"), static_cast<float>(length));
        for (const Vec3& point : kModelPoints) {
            SCOPED_TRACE(point.x);
            const Vec3 expected = Mapped(ribbon, point, length);
            EXPECT_TRUE(LandsAt(DrawPoint(point), expected, MappedNormal(ribbon, point.x)));
            if (vertexShader == 114) {
                EXPECT_NEAR(0.0, (ribbon.TransformVertex(point, point.x) - expected).Length(), 1e-12);
            }
        }
    }
}

TEST_F(VertexShaderTest, TheFruitIsPlacedByItsMatrixAndItsNormalsPointFromTheSphereCentre)
{
    uint32_t program = 0;
    ASSERT_EQ(CreateOGLProgram(129, 905, program), 0);
    UseProgram(program);
    // Columns: a turn with unequal scales, then a move; the model centre (1, 0, 0) lands at c.
    const float matrix[16] = {0.3f, 0.1f, 0.0f, 0.0f, -0.05f, 0.2f, 0.0f, 0.0f,
                              0.0f, 0.0f, 0.25f, 0.0f, -0.4f, 0.2f, 0.0f, 1.0f};
    const Vec3 centre(-0.1, 0.3, 0.0);
    glUniformMatrix4fv(glGetUniformLocation(program, "uTransformationMatrix"), 1, GL_FALSE, matrix);
    glUniform3f(glGetUniformLocation(program, "uSphereCenter"), static_cast<float>(centre.x),
                static_cast<float>(centre.y), static_cast<float>(centre.z));
    for (const Vec3& point : {Vec3(1.0, 1.0, 0.0), Vec3(0.0, 0.0, 1.0), Vec3(1.6, -0.8, 0.0)}) {
        const Vec3 placed(matrix[0] * point.x + matrix[4] * point.y + matrix[8] * point.z + matrix[12],
                          matrix[1] * point.x + matrix[5] * point.y + matrix[9] * point.z + matrix[13],
                          matrix[2] * point.x + matrix[6] * point.y + matrix[10] * point.z + matrix[14]);
        SCOPED_TRACE(point.x);
        EXPECT_TRUE(LandsAt(DrawPoint(point), placed, placed - centre));
    }
}
