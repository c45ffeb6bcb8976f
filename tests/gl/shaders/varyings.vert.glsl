/*
 * Vertex shader for the tests: a quad given in clip coordinates, with the varyings of the scene's
 * fragment shaders taken unchanged from attributes.
 * 2026-12-07
 */

attribute vec2 aGridPoint;
attribute vec3 aNormal;
attribute vec3 aGridX;
attribute vec3 aGridY;
attribute vec3 aGlobal;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

void main()
{
    gl_Position = gl_Vertex;
    vGridPoint = aGridPoint;
    vNormal = aNormal;
    vGridX = aGridX;
    vGridY = aGridY;
    vGlobalCoordinates = aGlobal;
}
// '\0' has to be below
