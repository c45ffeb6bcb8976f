#include "gfx/MeshFit.h"

void FitMeshTable(MeshDescriptor* table)
{
    bool seen = false;
    double minimum = 0.0, maximum = 0.0;
    for (MeshDescriptor* row = table; row->vertexCount != 0; ++row) {
        for (int32_t i = 0; i < row->vertexCount; ++i) {
            const double x = row->vertices[i].position.x;
            if (!seen) {
                minimum = maximum = x;
                seen = true;
            } else if (x < minimum) {
                minimum = x;
            } else if (x > maximum) {
                maximum = x;
            }
        }
    }
    if (maximum == minimum)
        return;
    const double scale = 0.99 / (maximum - minimum);
    for (MeshDescriptor* row = table; row->vertexCount != 0; ++row) {
        for (int32_t i = 0; i < row->vertexCount; ++i) {
            Vec3& position = row->vertices[i].position;
            position = Vec3((position.x - minimum) * scale + 0.01, position.y * scale, position.z * scale);
        }
    }
}
