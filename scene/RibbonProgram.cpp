#include "scene/RibbonProgram.h"

#include "gfx/OpenGL.h"
#include "gfx/ShaderProgram.h"

bool RibbonProgram::Build(uint16_t vertexShader, uint16_t fragmentShader)
{
    if (CreateOGLProgram(vertexShader, fragmentShader, program) != 0)
        return false;
    gridPointAttribute = glGetAttribLocation(program, "aGridPoint");
    normalAttribute = glGetAttribLocation(program, "aNormal");
    gridXAttribute = glGetAttribLocation(program, "aGridX");
    gridYAttribute = glGetAttribLocation(program, "aGridY");
    matrixesUniform = glGetUniformLocation(program, "uRibbonMatrixes");
    vertexesUniform = glGetUniformLocation(program, "uRibbonVertexes");
    return gridPointAttribute != -1 && normalAttribute != -1 && gridXAttribute != -1 && gridYAttribute != -1 &&
           matrixesUniform != -1 && vertexesUniform != -1;
}
