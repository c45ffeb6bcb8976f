#pragma once
// The saver's process-wide objects. They are built while the process initialises, in this order:
// the settings (loaded from the store), the frame-rate counter, then the run log, which the host
// opens first thing (RunLog::OpenForProcess). Only the saver programs define them; tests make
// their own.

class FrameRateCounter;
class RunLog;
class SettingsStore;

SettingsStore& Settings();
FrameRateCounter& FrameRate();
RunLog& Log();
