#pragma once
// How the system tells a screen saver what to do: the command line after the program's name.
// Pure text handling; whether a number names a real window is the host's question.

#include <cstdint>

enum class SaverMode {
    ConfigureAlone, // empty line: the settings dialog without an owner
    Configure,      // C with an optional ":<owner>"; without a usable one the foreground window owns it
    FullScreen,     // S
    Preview,        // P or L with a parent window
    ChangePassword, // A with a window (Windows 9x only)
    Invalid,        // any other letter
};

struct SaverCommand {
    SaverMode mode = SaverMode::Invalid;
    // The window number that followed the letter (0 when there was none): the preview's parent,
    // the dialog's owner or the password dialog's owner.
    uint32_t window = 0;
};

// The rest of a full command line after the program's name and the blanks that follow it. A quoted
// name ends at the next quote; an unquoted one at the first character not above the space.
const wchar_t* SkipProgramName(const wchar_t* line);

// Decimal digits from the start, value * 10 + digit, up to the first other character: no sign, no
// spaces, 0 without digits. A number beyond 32 bits names no window and reads as 0.
uint32_t ParseDecimal(const wchar_t* text);

// Reads the mode from the arguments. Spaces, '-' and '/' before the letter are skipped, letters
// count in either case, and anything after what the letter needs is ignored.
SaverCommand ReadSaverCommand(const wchar_t* arguments);
