// Where the flowers put their fruit, read back from the fruit program after a draw: the mesh's
// origin (its attachment point) 1 % of the stalk's length beyond the top node, along the stalk,
// and its sphere centre one fruit radius further on, where the matrix takes the mesh's centre.

#include "gl/GlTest.h"

#include "gfx/FixedCamera.h"
#include "gfx/RandomUnit.h"
#include "scene/FlowersHolder.h"

#include <gtest/gtest.h>

TEST(Flowers, TheFruitHangsOnTheTopNodeWithItsCentreOneRadiusBeyond)
{
    ApplyFixedCamera();
    FlowersHolder holder;
    ASSERT_TRUE(holder.valid);
    SeedRandom(3);
    holder.Update(16);
    holder.Draw();

    // The uniforms hold the last flower drawn.
    const Flower& flower = holder.flowers.back();
    const int n = flower.stalk.NodeCount();
    const RibbonNode& top = flower.stalk.nodes[n - 1];
    const RibbonNode& below = flower.stalk.nodes[n - 2];
    ASSERT_GT((top.position - below.position).Length(), 0.1) << "the last two nodes must be told apart";
    GLfloat matrix[16] = {};
    GLfloat centre[3] = {};
    const GLuint fruit = holder.FruitProgram();
    glGetUniformfv(fruit, glGetUniformLocation(fruit, "uTransformationMatrix"), matrix);
    glGetUniformfv(fruit, glGetUniformLocation(fruit, "uSphereCenter"), centre);

    const Vec3 attach = top.position - top.direction * (flower.length * 0.01);
    EXPECT_NEAR(attach.x, matrix[12], 1e-5);
    EXPECT_NEAR(attach.y, matrix[13], 1e-5);
    EXPECT_NEAR(attach.z, matrix[14], 1e-5);
    const Vec3 expectedCentre = attach - top.direction * flower.fruitSize;
    EXPECT_NEAR(expectedCentre.x, centre[0], 1e-5);
    EXPECT_NEAR(expectedCentre.y, centre[1], 1e-5);
    EXPECT_NEAR(expectedCentre.z, centre[2], 1e-5);
    // The mesh's centre (1, 0, 0) goes to the sphere centre.
    EXPECT_NEAR(centre[0], matrix[0] + matrix[12], 1e-5);
    EXPECT_NEAR(centre[1], matrix[1] + matrix[13], 1e-5);
    EXPECT_NEAR(centre[2], matrix[2] + matrix[14], 1e-5);
}

TEST(Flowers, AFruitProgramWithoutItsSphereCentreStopsTheFlowersThere)
{
    StartTestLog();
    FlowerShaders shaders = kFlowerShaders;
    shaders.fruitVertex = 906;
    FlowersHolder holder(shaders);
    EXPECT_FALSE(holder.valid);
    EXPECT_TRUE(holder.flowers.empty());
    // The program itself builds; the flowers refuse it for the uniform it lacks.
    const std::vector<std::string> expected = {
        "   Notify : Creating OGL program for fruit",   "   Notify : Start CreateOGLProgram()",
        "   Notify : Vertex shader is built",           "   Notify : Fragment shader is built",
        "   Notify : OGL program is created and built", "(!)Error : Can not create an OpenGL application for Fruit"};
    const std::vector<std::string> records = TestLogRecords();
    ASSERT_GE(records.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(records.end() - static_cast<long>(expected.size()), records.end()), expected);
}
