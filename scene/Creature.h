#pragma once
// The winged creature: the four-mesh body bent every frame along a ribbon by the ribbon vertex
// shader and coloured by four surface shaders (scales, wrinkles, eyes, horns), flown by its
// flight behaviour, with two mirrored wings hinged at 0.6 of the ribbon and a flap sound that
// follows the head.
//
// Render thread only, with the rendering context current. Programs and mesh buffers go with the
// context.

#include "scene/FlightBehaviour.h"
#include "scene/Ribbon.h"
#include "scene/RibbonProgram.h"
#include "scene/Wing.h"
#include "sound/WingsSoundClass.h"

#include <cstdint>

// Where the wings are hinged, in ribbon-local model coordinates: 0.6 along the body, 0.05 to the
// side, 0.03 up. The second wing uses its mirror image (y negated).
extern const Vec3 WingAnchor;

class Creature {
public:
    // Builds the ribbon, the behaviour (which draws), the wing sound and the wings, then, when the
    // wing sound holds its buffer, the four programs, the fitted model and its buffers. Valid only
    // when all of it was made. The wing sound's buffer comes from `sounds`.
    explicit Creature(SoundManager* sounds);

    Creature(const Creature&) = delete;
    Creature& operator=(const Creature&) = delete;

    bool IsValid() const { return valid_; }
    // One frame: flight, the body, the two wings, the flap sound.
    void Step(int32_t elapsedMilliseconds);

    const Ribbon& GetRibbon() const { return ribbon_; }
    const FlightBehaviour& Behaviour() const { return behaviour_; }
    const WingsSoundClass& WingSound() const { return wingSound_; }
    const Wing& FirstWing() const { return wing1_; }
    const Wing& SecondWing() const { return wing2_; }

private:
    bool BuildPrograms();
    void DrawBody();
    // SetFrame, Advance and Draw of one wing, hinged at `anchor` with the local rest axis `rest`.
    void FlyWing(Wing& wing, const Vec3& anchor, const Vec3& rest, int32_t elapsedMilliseconds);

    bool valid_ = false;
    RibbonProgram programs_[4]; // program i draws row i of the creature's mesh table
    Ribbon ribbon_;
    FlightBehaviour behaviour_;
    WingsSoundClass wingSound_;
    // Destroyed in reverse: the second wing's sparks go first, then the first's, then the ribbon.
    Wing wing1_;
    Wing wing2_;
};
