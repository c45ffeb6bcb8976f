#pragma once
// The creature's model: a process-wide table of four meshes and an end row. Row i is drawn by the
// creature's program i: 0 the scaled body, 1 the wrinkled sac under its middle, 2 the eyes,
// 3 the horns. The records are constant-initialised (in the program's data) and fitted in place
// later.

#include "gfx/MeshDescriptor.h"

constexpr int kCreatureMeshCount = 4;

extern MeshDescriptor g_creatureMeshes[kCreatureMeshCount + 1];
