#pragma once
// The saver's one camera and render state: a 21-degree tall view of the plane z = 0 from
// (0, 0, 4), depth test and back-face culling on. The camera keeps its vertical field of view on
// every drawing area and takes the area's own width / height as its aspect, so a sphere stays
// round on wide, tall and multi-monitor screens; on a 4:3 area the aspect is the decimal 1.3333333
// the saver has always used, and its picture is the one it has always been.
//
// Render thread only, with the rendering context current.

#include <cstdint>

// Half the height of the view on the plane z = 0, in scene units: 4 tan(10.5 degrees).
extern const double kViewHalfHeightAtPlane;

// The aspect for a drawing area of width x height pixels. An empty area (a minimised window)
// keeps the 4:3 aspect.
double CameraAspect(int32_t width, int32_t height);

// Sets the camera for the current viewport (the drawing area the context took from its window)
// and the fixed render state. The model-view matrix is left holding the camera.
void ApplyFixedCamera();

// After the viewport has moved to another drawing area: the projection follows it. The matrix
// mode is left on the model-view matrix, as the scene expects it.
void FitCameraToArea(int32_t width, int32_t height);

// The drawing area moved to x, y, width, height of the window (OpenGL's coordinates): the
// viewport and the camera follow it.
void MoveToArea(int32_t x, int32_t y, int32_t width, int32_t height);

// The aspect in force, for what must fill the view (the horizon).
double CurrentCameraAspect();
