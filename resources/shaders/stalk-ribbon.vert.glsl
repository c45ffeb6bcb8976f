/*
 * Vertex shader: a flower's stalk, bent along the flower's ribbon and stretched to its length.
 * The stalk lies along x from 1 (the foot) to 0.001 (the top); node 0 of the ribbon is the foot.
 * Texture coordinates pass through for the surface's relief.
 * 2026-12-07
 */

const int NumberOfNodes = 20;
const float InverseNumberOfNodes = 0.05;

uniform mat3 uRibbonMatrixes[NumberOfNodes];
uniform vec3 uRibbonVertexes[NumberOfNodes];
uniform float uRibbonLength;

attribute vec2 aGridPoint;
attribute vec3 aNormal;
attribute vec3 aGridX;
attribute vec3 aGridY;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

void main()
{
    float inverseX = 1.0 - gl_Vertex.x;
    int i = int(floor(inverseX / InverseNumberOfNodes));
    // Only the distance along the stalk follows its length; its radius stays as modelled.
    float offset = (float(i) * InverseNumberOfNodes - inverseX) * uRibbonLength;
    mat3 frame = uRibbonMatrixes[i];
    vec3 position = uRibbonVertexes[i] + frame * vec3(offset, gl_Vertex.y, gl_Vertex.z);

    gl_Position = gl_ModelViewProjectionMatrix * vec4(position, 1.0);
    vGridPoint = aGridPoint;
    vNormal = frame * aNormal;
    vGridX = frame * aGridX;
    vGridY = frame * aGridY;
    vGlobalCoordinates = position;
}
// '\0' has to be below
