#pragma once
// The saver host's process-wide objects. They are built while the process initialises, in this
// order: the settings (loaded from the store), the frame-rate counter, then the run log
// (base/RunLog.h), which the host opens first thing (RunLog::OpenForProcess). Host code only: what
// the layers below need of them is handed to them.

class FrameRateCounter;
class SettingsStore;

SettingsStore& Settings();
FrameRateCounter& FrameRate();
