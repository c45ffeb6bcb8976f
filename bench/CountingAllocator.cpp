// Bench builds only (the replay program, linked with --wrap for StepScene): counts every C++
// allocation and reports on stderr, as the program ends, how many the frames made once the scene
// had settled (after frame 1000), how many of those were called from the program itself rather
// than from a library (llvmpipe compiles shader variants with LLVM, which allocates through the
// same operator new), the most in one frame, and the heap in use (glibc's main arena, which also
// holds the driver's allocations) at the first frame, at frame 1000 and at the last.

#include <dlfcn.h>
#include <execinfo.h>
#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

struct FrameClock;

namespace {
std::atomic<uint64_t> g_allocations{0};
std::atomic<uint64_t> g_ownAllocations{0};
bool g_settled = false; // inside a frame after frame 1000
void* g_self = nullptr;  // this program's base address

// Whether the caller of operator new lies in this program (the scene, the standard library's
// templates it instantiates) rather than in a shared library.
__attribute__((noinline)) bool CalledFromProgram()
{
    void* frames[3];
    if (backtrace(frames, 3) < 3)
        return false;
    Dl_info caller;
    return dladdr(frames[2], &caller) != 0 && caller.dli_fbase == g_self;
}

struct Report {
    uint64_t frames = 0;
    uint64_t settledAllocations = 0;
    uint64_t ownAllocations = 0;
    uint64_t mostInAFrame = 0;
    size_t heapAtFirstFrame = 0;
    size_t heapAtFrame1000 = 0;
    size_t heapAtLastFrame = 0;
    ~Report()
    {
        std::fprintf(stderr,
                     "allocations: frames %llu, after frame 1000 %llu in all, %llu from the program, at most %llu in one frame; "
                     "heap in use at the first frame %zu bytes, at frame 1000 %zu bytes, at the last %zu bytes\n",
                     static_cast<unsigned long long>(frames), static_cast<unsigned long long>(settledAllocations),
                     static_cast<unsigned long long>(ownAllocations),
                     static_cast<unsigned long long>(mostInAFrame), heapAtFirstFrame, heapAtFrame1000, heapAtLastFrame);
    }
} g_report;
} // namespace

void* operator new(size_t size)
{
    ++g_allocations;
    if (g_settled && CalledFromProgram())
        ++g_ownAllocations;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        std::abort();
    return block;
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    ++g_allocations;
    if (g_settled && CalledFromProgram())
        ++g_ownAllocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    std::free(block);
}

extern "C" void __real__Z9StepSceneRK10FrameClock(const FrameClock& clock);

extern "C" void __wrap__Z9StepSceneRK10FrameClock(const FrameClock& clock)
{
    if (g_self == nullptr) {
        Dl_info self;
        if (dladdr(reinterpret_cast<void*>(&__wrap__Z9StepSceneRK10FrameClock), &self) != 0)
            g_self = self.dli_fbase;
    }
    const uint64_t before = g_allocations;
    g_settled = g_report.frames >= 1000;
    __real__Z9StepSceneRK10FrameClock(clock);
    g_settled = false;
    const uint64_t made = g_allocations - before;
    ++g_report.frames;
    if (g_report.frames > 1000) {
        g_report.settledAllocations += made;
        g_report.ownAllocations = g_ownAllocations;
        if (made > g_report.mostInAFrame)
            g_report.mostInAFrame = made;
    }
    const size_t heap = mallinfo2().uordblks;
    if (g_report.frames == 1)
        g_report.heapAtFirstFrame = heap;
    if (g_report.frames == 1000)
        g_report.heapAtFrame1000 = heap;
    g_report.heapAtLastFrame = heap;
    // The trend, so that growth that levels off can be told from a leak.
    if (g_report.frames % 25000 == 0)
        std::fprintf(stderr, "heap: frame %llu, %zu bytes in use\n", static_cast<unsigned long long>(g_report.frames),
                     heap);
}
