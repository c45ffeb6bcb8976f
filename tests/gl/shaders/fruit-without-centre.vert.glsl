/*
 * OpenGL tests only: the fruit's vertex shader with the sphere centre left out, so that the
 * flowers' fruit program links without its uSphereCenter uniform.
 */

uniform mat4 uTransformationMatrix;

attribute vec2 aGridPoint;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGlobalCoordinates;

void main()
{
    vec4 position = uTransformationMatrix * gl_Vertex;
    gl_Position = gl_ModelViewProjectionMatrix * position;
    vNormal = position.xyz;
    vGlobalCoordinates = position.xyz;
    vGridPoint = aGridPoint;
}
// '\0' has to be below
