// A pointer of the tests' own on a wlroots-based Wayland session (the virtual pointer protocol):
// the headless session has no input devices, so this is how a test moves the pointer and presses
// its buttons. Each command makes a pointer device on the seat, sends its requests ending with a
// frame, waits until the compositor has read them (a round trip) and ends:
//   virtual-pointer move DX DY           moves the pointer by (DX, DY) in the layout's pixels
//   virtual-pointer move-to X Y W H      puts it at (X, Y) of the layout, taken as W x H large
//   virtual-pointer click                presses and releases the left button where it is
//   virtual-pointer hold                 keeps a pointer device on the seat until SIGTERM,
//                                        SIGINT or the session's end, as a desktop has a mouse,
//                                        while each command's own device comes and goes
// It ends with 1 when there is no session, or the session offers no virtual pointers.

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>

namespace {
// The button codes of Linux's input events.
constexpr uint32_t kLeftButton = 0x110;

wl_seat* g_seat = nullptr;
zwlr_virtual_pointer_manager_v1* g_manager = nullptr;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && g_seat == nullptr)
        g_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        g_manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

uint32_t Milliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void Interrupted(int) {}

int Usage()
{
    std::fprintf(stderr, "usage: virtual-pointer move DX DY | move-to X Y W H | click | hold\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    const char* command = argc > 1 ? argv[1] : "";
    double dx = 0, dy = 0;
    unsigned long position[4] = {};
    if (std::strcmp(command, "move") == 0 && argc == 4) {
        dx = std::atof(argv[2]);
        dy = std::atof(argv[3]);
    } else if (std::strcmp(command, "move-to") == 0 && argc == 6) {
        for (int i = 0; i < 4; ++i)
            position[i] = std::strtoul(argv[i + 2], nullptr, 10);
    } else if (!((std::strcmp(command, "click") == 0 || std::strcmp(command, "hold") == 0) && argc == 2)) {
        return Usage();
    }

    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual-pointer: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (g_manager == nullptr) {
        std::fprintf(stderr, "virtual-pointer: the compositor offers no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g_manager, g_seat);
    if (std::strcmp(command, "move") == 0) {
        zwlr_virtual_pointer_v1_motion(pointer, Milliseconds(), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (std::strcmp(command, "move-to") == 0) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, Milliseconds(), static_cast<uint32_t>(position[0]),
                                                static_cast<uint32_t>(position[1]), static_cast<uint32_t>(position[2]),
                                                static_cast<uint32_t>(position[3]));
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (std::strcmp(command, "click") == 0) {
        zwlr_virtual_pointer_v1_button(pointer, Milliseconds(), kLeftButton, WL_POINTER_BUTTON_STATE_PRESSED);
        zwlr_virtual_pointer_v1_frame(pointer);
        zwlr_virtual_pointer_v1_button(pointer, Milliseconds(), kLeftButton, WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer);
    }
    const bool answered = wl_display_roundtrip(display) >= 0;
    if (std::strcmp(command, "hold") == 0 && answered) {
        // Until a signal interrupts the wait or the session ends.
        std::signal(SIGTERM, Interrupted);
        std::signal(SIGINT, Interrupted);
        pollfd wait = {wl_display_get_fd(display), POLLIN, 0};
        while (poll(&wait, 1, -1) > 0 && wl_display_dispatch(display) >= 0) {
        }
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(g_manager);
    if (g_seat != nullptr)
        wl_seat_destroy(g_seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return answered ? 0 : 1;
}
