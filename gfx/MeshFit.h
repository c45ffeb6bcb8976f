#pragma once
// Fitting a mesh table into the ribbon's parameter range, once, before its rows are uploaded.

#include "gfx/MeshDescriptor.h"

// Scales every position of every row up to the end row so that x spans [0.01, 1.0] and y and z
// keep their proportions. A table whose x does not vary (or that is empty) is left as it is.
// Fitting fitted data again changes nothing beyond rounding.
void FitMeshTable(MeshDescriptor* table);
