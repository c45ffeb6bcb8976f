#pragma once
// The winged creature. Stand-in until its body, flight and wings exist: valid, and its step draws
// nothing.

#include <cstdint>

#ifdef MORROWMERE_TEST_SLOW_CREATURE
#include <chrono>
#include <thread>
#endif

class Creature {
public:
    Creature()
    {
#ifdef MORROWMERE_TEST_SLOW_CREATURE
        // Test builds only: a long start-up, so that the saver can be closed while it starts.
        std::this_thread::sleep_for(std::chrono::seconds(3));
#endif
    }
    bool IsValid() const { return true; }
    void Step(int32_t) {}
};
