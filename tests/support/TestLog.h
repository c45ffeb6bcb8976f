#pragma once
// The process globals that the saver's code writes to, for test programs: the settings, the
// frame-rate counter and a run log that each test starts afresh and reads back.

#include <string>
#include <vector>

// Starts a fresh run log for the test; the saver's records go there.
void StartTestLog();
// The records written since StartTestLog, one line each, without line ends and without the
// "Application has run" that opens every log.
std::vector<std::string> TestLogRecords();
