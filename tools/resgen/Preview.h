#pragma once
// Pictures for people: every bitmap and the creature from three sides on one sheet, and the
// waveforms of both sounds.

#include "Art.h"
#include "Creature.h"

#include <cstdint>
#include <string>
#include <vector>

Image MakeContactSheet(const std::vector<const Image*>& bitmaps, const std::vector<ModelMesh>& creature);
Image MakeWaveforms(const std::vector<std::vector<int16_t>>& sounds);
