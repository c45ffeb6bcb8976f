#pragma once
// The process's run log in test programs: each test starts it afresh in a file of the program's
// own and reads it back.

#include <string>
#include <vector>

// Starts a fresh run log for the test; the saver's records go there.
void StartTestLog();
// The records written since StartTestLog, one line each, without line ends and without the
// "Application has run" that opens every log.
std::vector<std::string> TestLogRecords();
