#pragma once
// The creature's flight: a random state machine of five states that, once a frame, moves the head
// of the creature's ribbon (or lays out the whole ribbon); the ribbon's follow step makes the body
// trail behind. Speeds are scene units per millisecond. Render thread only.

#include "gfx/Vec3.h"

#include <cstdint>

class Ribbon;

class FlightBehaviour {
public:
    enum State : int32_t {
        FlyToTarget = 0, // turns towards a random goal point and flies to it
        LevelOff = 1,    // lets the climb or dive fade out, then glides to a stop
        Hover = 2,       // keeps still for a random time of up to 500 ms
        Dart = 3,        // jerks the straightened body sideways within 500 ms
        Wriggle = 4,     // runs a sideways wave down the straightened body for 2000 ms
        NotStarted = 5,  // until the first state is entered
    };

    // Straightens the ribbon (not owned) into the start pose, the head at (0, 2, 0) facing away
    // from the camera, and enters FlyToTarget (three draws).
    explicit FlightBehaviour(Ribbon* ribbon);

    FlightBehaviour(const FlightBehaviour&) = delete;
    FlightBehaviour& operator=(const FlightBehaviour&) = delete;

    // One frame of `elapsedMilliseconds` (0 to 3000; the scene clamps longer gaps) in the current
    // state; it may end the state and enter the next (the new state's first step comes with the
    // next frame).
    void Step(int32_t elapsedMilliseconds);
    // Enters state `next`, or with -1 one drawn from the transition table; runs its entry action.
    void SetState(int32_t next);

    Ribbon* ribbon;
    int32_t state = NotStarted;
    double frameMs = 0.0;
    double stateMs = 0.0;
    double holdMs = 0.0;
    Vec3 target;
    Vec3 levelVertical;
    Vec3 levelHorizontal;
    Vec3 dartOffset;
    Vec3 dartStart;
    Vec3 wriggleDirection;
    Vec3 wriggleStart;
    Vec3 wriggleSide;

private:
    void Enter();
    void StepFlyToTarget();
    void StepLevelOff();
    void StepHover();
    void StepDart();
    void StepWriggle();
};
