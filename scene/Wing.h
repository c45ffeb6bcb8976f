#pragma once
// A wing of the creature: a narrow, leaf-shaped, translucent membrane hinged on the body, flapping
// about the body axis so fast (a flap takes about 7 ms) that it is drawn as a motion blur between
// the flap angles of the last two frames, with five arcs joining them along the outline. Each wing
// trails glowing orange sparks that are born near its root, drift, sink, twinkle and fade out.
//
// Fixed-function OpenGL from client vertex arrays of doubles, no shader program bound. Render
// thread only, with the rendering context current; the spark texture goes with the context.

#include "gfx/SpriteQuads.h"
#include "gfx/Vec3.h"

#include <cstdint>
#include <vector>

struct Spark {
    Vec3 position;      // scene units
    Vec3 velocity;      // scene units per millisecond
    double brightness;  // colour factor, from [0.3, 1.0] down by 0.992 each draw
    double twinkleRate; // radians per millisecond of the brightness ripple, [0.01, 0.03]
};

class WingSparks {
public:
    // Makes the 32 x 32 spark texture.
    WingSparks();
    // Empties the list and gives its storage back.
    ~WingSparks();

    WingSparks(const WingSparks&) = delete;
    WingSparks& operator=(const WingSparks&) = delete;

    // Appends a spark at `birthPoint` when 120 ms of spark time have passed since the last
    // emission slot (five draws), and moves the slot on by 120 ms.
    void Emit(const Vec3& birthPoint);
    // Removes sparks that have faded below 0.01, moves, fades and draws the others as additive
    // quads facing the camera. Leaves the texture environment mode GL_REPLACE.
    void Draw();

    uint32_t texture = 0;
    double time = 0.0;         // milliseconds of spark time
    double lastEmission = 0.0; // spark time of the latest emission slot
    double step = 0.0;         // milliseconds of the latest Advance
    // Oldest first; removal during the walk keeps the order, new sparks go at the end.
    std::vector<Spark> particles;

private:
    SpriteQuads quads; // this frame's sparks, rebuilt by every Draw
};

class Wing {
public:
    // The first wing made also builds the leaf profile that every wing shares.
    Wing();

    Wing(const Wing&) = delete;
    Wing& operator=(const Wing&) = delete;

    // Where the wing is hinged this frame: unit, mutually perpendicular axes.
    void SetFrame(const Vec3& root, const Vec3& hingeAxis, const Vec3& restAxis);
    // Moves wing time and spark time on by `dt` milliseconds (one draw; one millisecond more for a
    // draw of exactly 1.0).
    void Advance(int32_t dt);
    // The blurred membrane, its arcs, a spark when one is due, and the sparks (six draws, eleven
    // when a spark is born). Leaves face culling on and blending off.
    void Draw();

    int32_t clock = 0;         // milliseconds of wing time
    int32_t previousClock = 0; // clock before the latest Advance
    Vec3 root;
    Vec3 hingeAxis{0.0, 0.0, 1.0};
    Vec3 restAxis{1.0, 0.0, 0.0};
    Vec3 swingAxis{0.0, 1.0, 0.0}; // hingeAxis x restAxis: a positive flap angle turns towards it
    WingSparks sparks;

private:
    // The span direction at flap angle `angle`.
    Vec3 SpanAt(double angle) const;
    // The point of a profile pair (u along the span `span`, w along the hinge axis).
    Vec3 PointAt(const Vec3& span, double u, double w) const;
};
