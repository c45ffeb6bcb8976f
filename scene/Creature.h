#pragma once
// The winged creature. Stand-in until its body, flight and wings exist: it takes its wing sound
// as the creature does and is valid when that holds a buffer; it hangs still at its ribbon's
// starting head, draws nothing and steps its wing sound with that head.

#include "sound/WingsSoundClass.h"

#include <cstdint>

class Creature {
public:
    Creature();
    ~Creature();

    Creature(const Creature&) = delete;
    Creature& operator=(const Creature&) = delete;

    bool IsValid() const { return valid_; }
    void Step(int32_t elapsedMilliseconds);

    // Null until it has been made.
    const WingsSoundClass* WingSound() const { return wingSound_; }

private:
    bool valid_ = false;
    WingsSoundClass* wingSound_ = nullptr;
};
