/*
 * Fragment shader for the tests: the interpolated normal as a colour, 0.5 + 0.5 * vNormal.
 * 2026-12-07
 */

varying vec3 vNormal;

void main()
{
    gl_FragColor = vec4(0.5 + 0.5 * vNormal, 1.0);
}
// '\0' has to be below
