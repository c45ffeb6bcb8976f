#pragma once
// A program that bends a mesh along a ribbon on the GPU: the creature's four body programs and the
// flowers' stalk program share the ribbon vertex shader's inputs, looked up here once.
//
// Render thread only, with the rendering context current. The program goes with the context.

#include <cstdint>

struct RibbonProgram {
    // Builds the program from its two shader resources and looks up the ribbon's inputs. False
    // when it does not build or any input is missing (its location is then -1).
    bool Build(uint16_t vertexShader, uint16_t fragmentShader);

    uint32_t program = 0;
    int32_t gridPointAttribute = -1; // aGridPoint
    int32_t normalAttribute = -1;    // aNormal
    int32_t gridXAttribute = -1;     // aGridX
    int32_t gridYAttribute = -1;     // aGridY
    int32_t matrixesUniform = -1;    // uRibbonMatrixes
    int32_t vertexesUniform = -1;    // uRibbonVertexes
};
