#include "scene/Horizon.h"

#include "base/RunLog.h"
#include "gfx/BitmapTexture.h"
#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/OpenGL.h"
#include "gfx/ViewportCopy.h"

namespace {
constexpr int kSkyBitmap = 123;
constexpr int kSkyWidth = 512;
constexpr int kSkyHeight = 256;
// The grey of the picture's ground rows (126 of 255), so the band continues them.
constexpr double kGroundGrey = 0.494;

// How far the quads reach to each side of the centre, in scene units. The picture spans x from -1
// to 1, which fills a view up to about 4:3; a wider view gets quads 1% past its side edges.
double Reach()
{
    const double viewHalfWidth = kViewHalfHeightAtPlane * CurrentCameraAspect();
    return viewHalfWidth * 1.01 > 1.0 ? viewHalfWidth * 1.01 : 1.0;
}
} // namespace

Horizon::Horizon() : texture(0), mirroredSides(false)
{
    Log().Record(kLogNotify, "Start initialization for the horizon image");
    std::vector<uint8_t> pixels;
    if (!LoadBitmapPixels(kSkyBitmap, kSkyWidth, kSkyHeight, pixels))
        return;
    const TextureParameters parameters = {GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, GL_RGB16, kSkyWidth, kSkyHeight};
    UploadBitmapTexture(parameters, pixels, texture);
    Log().Record(kLogNotify, "Horizon image is initialized properly");
}

namespace {
// What the horizon's pixels depend on besides the viewport and camera: the texture environment
// that the other objects leave (the first frame still has the default), and state that no object
// leaves changed today but that would change the picture if one did. All of it from the record,
// without a round trip to the driver.
ViewportCopyTag HorizonTag()
{
    ViewportCopyTag tag = CurrentViewportTag();
    const DrawingState& state = Drawing();
    tag.state[0] = state.textureEnvironment;
    tag.state[1] = static_cast<int32_t>(state.program);
    for (uint32_t i = 0; i < kDrawingSwitches; ++i)
        tag.state[2 + i] = static_cast<int32_t>(state.switches >> i & 1u);
    return tag;
}
} // namespace

void Horizon::Draw()
{
    if (plainDrawing || !RendererWritesEveryBlend()) {
        DrawPicture();
        return;
    }
    // The picture is the same in every frame drawn under the same tag: from the second such frame
    // on, its pixels are put back instead of drawn.
    const ViewportCopyTag tag = HorizonTag();
    if (copy_.Holds(tag)) {
        copy_.Put();
        // The state that drawing it leaves.
        glColor3d(kGroundGrey, kGroundGrey, kGroundGrey);
        glBindTexture(GL_TEXTURE_2D, texture);
        glDisable(GL_TEXTURE_2D);
        glDepthMask(GL_TRUE);
        glEnable(GL_DEPTH_TEST);
        return;
    }
    DrawPicture();
    copy_.Take(tag);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void Horizon::DrawPicture()
{
    const double reach = Reach();
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glColor3d(kGroundGrey, kGroundGrey, kGroundGrey);
    glBegin(GL_QUADS);
    glVertex3d(-reach, -0.75, 0.0);
    glVertex3d(reach, -0.75, 0.0);
    glVertex3d(reach, 0.0, 0.0);
    glVertex3d(-reach, 0.0, 0.0);
    glEnd();

    // The texture environment is left as the other objects set it. The first frame still has the
    // default GL_MODULATE, so the sky shows darkened by the grey; the planet (and the wings) leave
    // GL_REPLACE set, and from the second frame on it shows with its own colours.
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Past the picture's side edges the sky goes on mirrored, at the picture's own scale, so stars
    // stay round and the mountains unstretched; mirroring leaves s from 0 to 1 exactly as clamping.
    const bool mirrored = reach > 1.0;
    if (mirrored != mirroredSides) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mirrored ? GL_MIRRORED_REPEAT : GL_CLAMP_TO_EDGE);
        mirroredSides = mirrored;
    }
    const double left = (1.0 - reach) / 2.0, right = (1.0 + reach) / 2.0;
    glBegin(GL_QUADS);
    // The picture's top row (t = 0) lies just above the view; its bottom 1% is never shown.
    glTexCoord2d(left, 0.99);
    glVertex3d(-reach, 0.0, 0.0);
    glTexCoord2d(right, 0.99);
    glVertex3d(reach, 0.0, 0.0);
    glTexCoord2d(right, 0.0);
    glVertex3d(reach, 0.75, 0.0);
    glTexCoord2d(left, 0.0);
    glVertex3d(-reach, 0.75, 0.0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
}
