/*
 * Fragment shader for the tests: stored without its terminating NUL.
 */
void main()
{
    gl_FragColor = vec4(1.0);
}
