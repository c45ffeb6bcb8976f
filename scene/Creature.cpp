#include "scene/Creature.h"

#include "gfx/DrawingState.h"
#include "gfx/MeshBuffers.h"
#include "gfx/MeshFit.h"
#include "gfx/OpenGL.h"
#include "scene/CreatureModel.h"

#include <cstdint>

const Vec3 WingAnchor(0.6, 0.05, 0.03);

namespace {
constexpr uint16_t kRibbonVertexShader = 114;
// Fragment shaders of programs 0 to 3: scales (body), wrinkles, eyes, horns.
constexpr uint16_t kSurfaceShaders[4] = {111, 110, 112, 113};
const Vec3 kLocalForward(1.0, 0.0, 0.0);
const Vec3 kLocalSide(0.0, 1.0, 0.0);
} // namespace

Creature::Creature(SoundManager* sounds) : behaviour_(&ribbon_), wingSound_(sounds)
{
    valid_ = false;
    if (!wingSound_.HoldsBuffer())
        return;
    if (!BuildPrograms())
        return;
    FitMeshTable(g_creatureMeshes);
    for (MeshDescriptor* row = g_creatureMeshes; row->vertexCount != 0; ++row) {
        if (UploadMeshRow(*row) != 0)
            return;
    }
    valid_ = true;
}

bool Creature::BuildPrograms()
{
    for (int i = 0; i < 4; ++i) {
        if (!programs_[i].Build(kRibbonVertexShader, kSurfaceShaders[i]))
            return false;
    }
    return true;
}

void Creature::Step(int32_t elapsedMilliseconds)
{
    behaviour_.Step(elapsedMilliseconds);
    DrawBody();
    // The wings draw with the fixed-function pipeline.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    UseProgram(0);
    FlyWing(wing1_, WingAnchor, kLocalSide, elapsedMilliseconds);
    // The mirror image across the body's local x/z plane.
    FlyWing(wing2_, Vec3(WingAnchor.x, -WingAnchor.y, WingAnchor.z), Vec3(kLocalSide.x, -kLocalSide.y, kLocalSide.z),
            elapsedMilliseconds);
    wingSound_.Update(ribbon_.nodes[0].position, static_cast<uint32_t>(elapsedMilliseconds));
}

void Creature::DrawBody()
{
    const float* matrixes = ribbon_.FillMatrixes();
    const float* vertexes = ribbon_.FillVertexes();
    glEnable(GL_DEPTH_TEST);
    int i = 0;
    for (const MeshDescriptor* row = g_creatureMeshes; row->vertexCount != 0; ++row, ++i) {
        const RibbonProgram& p = programs_[i];
        const long n = row->vertexCount;
        UseProgram(p.program);
        glUniformMatrix3fv(p.matrixesUniform, ribbon_.NodeCount(), GL_FALSE, matrixes);
        glUniform3fv(p.vertexesUniform, ribbon_.NodeCount(), vertexes);
        glBindBuffer(GL_ARRAY_BUFFER, row->vertexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, row->indexBuffer);
        glVertexPointer(3, GL_FLOAT, 0, BufferOffset(0));
        glVertexAttribPointer(p.gridXAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(MeshBlockOffsets::GridX(n)));
        glVertexAttribPointer(p.gridYAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(MeshBlockOffsets::GridY(n)));
        glVertexAttribPointer(p.normalAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(MeshBlockOffsets::Normal(n)));
        glVertexAttribPointer(p.gridPointAttribute, 2, GL_FLOAT, GL_FALSE, 0, BufferOffset(MeshBlockOffsets::GridPoint(n)));
        glEnableClientState(GL_VERTEX_ARRAY);
        SetGenericArray(p.normalAttribute, true);
        SetGenericArray(p.gridXAttribute, true);
        SetGenericArray(p.gridYAttribute, true);
        SetGenericArray(p.gridPointAttribute, true);
        glDrawElements(GL_TRIANGLES, row->triangleCount * 3, GL_UNSIGNED_INT, BufferOffset(0));
        glDisableClientState(GL_VERTEX_ARRAY);
        SetGenericArray(p.normalAttribute, false);
        SetGenericArray(p.gridXAttribute, false);
        SetGenericArray(p.gridYAttribute, false);
        SetGenericArray(p.gridPointAttribute, false);
    }
}

void Creature::FlyWing(Wing& wing, const Vec3& anchor, const Vec3& rest, int32_t elapsedMilliseconds)
{
    const Vec3 root = ribbon_.TransformVertex(anchor, anchor.x);
    const Vec3 hinge = ribbon_.TransformDirection(kLocalForward, anchor.x);
    const Vec3 restAxis = ribbon_.TransformDirection(rest, anchor.x);
    wing.SetFrame(root, hinge, restAxis);
    wing.Advance(elapsedMilliseconds);
    wing.Draw();
}
