// Test builds only (linked with --wrap for CreateDoneEvent): the system gives no event, so the
// window cannot start its render thread, as when the system refuses a thread.

struct DoneEvent;

extern "C" DoneEvent* __wrap__Z15CreateDoneEventv()
{
    return nullptr;
}
