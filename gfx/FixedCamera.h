#pragma once
// The saver's one camera and render state, set once when video starts: a 21-degree view of the
// plane z = 0 from (0, 0, 4), always with a 4:3 aspect whatever the window's shape, depth test
// and back-face culling on. The viewport is the one the context takes from its window.

void ApplyFixedCamera();
