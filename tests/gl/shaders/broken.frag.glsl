/*
 * Fragment shader for the tests: not GLSL.
 * 2026-12-07
 */

void main()
{
    gl_FragColor = this is not an expression;
}
// '\0' has to be below
