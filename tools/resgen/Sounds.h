#pragma once
// The saver's two sound samples: 16-bit signed mono at 44100 Hz, raw little-endian.

#include <cstdint>
#include <vector>

constexpr int kSampleRate = 44100;

// One second that loops without a seam: every component has a whole number of cycles per second.
std::vector<int16_t> MakeAmbient(); // 44100 samples (88200 bytes)
// A wing flap: a soft whoosh with a quick start and a long fade to silence.
std::vector<int16_t> MakeFlap(); // 52756 samples (105512 bytes)
