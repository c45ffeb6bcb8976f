#include "scene/Creature.h"

#include "gfx/Vec3.h"
#include "host/SaverFrame.h"

Creature::Creature()
{
    valid_ = false;
    wingSound_ = new WingsSoundClass(g_frame.soundManager);
    if (!wingSound_->HoldsBuffer())
        return;
    valid_ = true;
}

Creature::~Creature()
{
    delete wingSound_;
}

void Creature::Step(int32_t elapsedMilliseconds)
{
    // A ribbon starts with its head at (1, 0, 0).
    wingSound_->Update(Vec3(1.0, 0.0, 0.0), static_cast<uint32_t>(elapsedMilliseconds));
}
