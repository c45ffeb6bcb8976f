/*
 * Vertex shader: a flower's fruit, a unit sphere placed by its flower's matrix.
 * 2026-12-07
 */

uniform mat4 uTransformationMatrix;
uniform vec3 uSphereCenter;

attribute vec2 aGridPoint;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGlobalCoordinates;

void main()
{
    vec4 position = uTransformationMatrix * gl_Vertex;
    gl_Position = gl_ModelViewProjectionMatrix * position;
    vNormal = position.xyz - uSphereCenter;
    vGlobalCoordinates = position.xyz;
    vGridPoint = aGridPoint;
}
// '\0' has to be below
