#pragma once
// OpenGL 2.0 through GLEW, and GLU, for the saver's drawing code on both platforms.
#ifdef _WIN32
#include <windows.h> // GLU's declarations use the Windows calling-convention macros
#endif
#include <GL/glew.h>
#include <GL/glu.h>
