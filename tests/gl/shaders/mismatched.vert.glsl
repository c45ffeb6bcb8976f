/*
 * Vertex shader for the tests: its vNormal is a float, the horns read a vec3.
 * 2026-12-07
 */

varying float vNormal;

void main()
{
    gl_Position = gl_Vertex;
    vNormal = 1.0;
}
// '\0' has to be below
