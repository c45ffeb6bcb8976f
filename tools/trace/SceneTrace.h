#pragma once
// Reads the scene's state after a frame into one JSON line: the keys of every object built so far,
// in a fixed order. Reading changes nothing in the scene and draws no random number.

#include <cstdint>

class JsonLine;

class SceneTrace {
public:
    // Call right after the random source was seeded with `seed`.
    explicit SceneTrace(uint32_t seed);

    // The line of frame `frame` (0: right after the scene was built), whose step was given
    // `elapsed` milliseconds (0 for frame 0). Call once per frame, in order, printed or not.
    void Write(JsonLine& line, uint64_t frame, int32_t elapsed);

private:
    void CountDraws();
    void CountFlaps(uint32_t msSinceFlap, int32_t elapsed);

    uint32_t state_;     // a copy of the generator, stepped until it reaches the saver's
    uint64_t draws_ = 0;
    uint32_t lastMsSinceFlap_ = 0;
    uint64_t flaps_ = 0;
};
