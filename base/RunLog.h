#pragma once
// The run log: a plain-text trace of one run, one record per line, and the first user-facing
// error text of the run, which the render thread's failed start shows in a message box.
//
// Threads: records may come from any thread, each written whole. The log is opened before the
// process starts any other thread, and one message is kept by the thread whose start failed.

#include <cstdio>

// Record levels. Any other value is written with the "unlabelled" prefix; the saver never uses one.
constexpr int kLogNotify = 0;
constexpr int kLogError = 1;

class RunLog {
public:
    // A silent log until OpenForProcess. Constant-initialised, so the process's log exists before
    // any other object is built.
    constexpr RunLog() = default;
    // Opens the log at a given path as OpenForProcess does; a null path gives a silent log.
    explicit RunLog(const char* path);
    // Closes the file. The saver usually ends without running destructors; every record has
    // already been flushed by then.
    ~RunLog();

    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Opens this process's log file (see RunLogPath.h), truncating the previous run's log, and
    // writes "Application has run". Without a usable path, or when the file cannot be created,
    // the log stays silent for the whole run and the saver carries on. Called once, as the
    // process starts (on Linux once the command line has been accepted, so that a refused command
    // line or -h leaves the previous run's log alone).
    void OpenForProcess();
    // Starts the log afresh in the file at `path`, as OpenForProcess does with its own path: any
    // file open is closed and the kept message forgotten. A null path leaves the log silent.
    void Restart(const char* path);

    // Writes the level's prefix, the text and a line break, and flushes, so the record survives
    // an abrupt end of the process. Write errors are ignored.
    void Record(int level, const char* text);
    // Expands `format` with the one number (for example "FPS = %g") and records the result.
    // `format` must take exactly one double; the text is sized to whatever it expands to.
    void RecordNumber(int level, const char* format, double value);
    // Records the text, then keeps `userMessage` (not copied: it must outlive the log) unless a
    // message is kept already. A silent log still keeps messages.
    void RecordAndKeep(int level, const char* text, const char* userMessage);
    // The first message kept during the run, or null.
    const char* KeptUserMessage() const { return kept_; }
    bool IsSilent() const { return file_ == nullptr; }

private:
    void Open(const char* path);

    FILE* file_ = nullptr;
    const char* kept_ = nullptr;
};

// The process's run log: the one process-wide object that every layer may write to by itself.
// Silent until the host opens it (OpenForProcess) as the process starts.
RunLog& Log();
