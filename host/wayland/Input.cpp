// The seat's input: any key, any button, a touch, or a pointer move of more than 4 pixels from its
// first position ends the run; over the saver no pointer shows. Positions are the surface's own,
// so a pointer that comes onto another surface takes a new first position there: the user's move
// across has already gone further than that on the surface it left, and an output that goes
// takes its surface with it and puts the pointer on another one without any move of the user's.

#include "host/CloseRules.h"
#include "host/wayland/Shared.h"

#include <wayland-client.h>

#include <unistd.h>

namespace {
struct PointerTrack {
    bool movedBefore = false;
    wl_surface* over = nullptr; // the surface the pointer is on
    wl_surface* firstSurface = nullptr;
    wl_fixed_t firstX = 0;
    wl_fixed_t firstY = 0;
} g_pointer;

void KeyboardKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t)
{
    close(fd);
}
void KeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void KeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void KeyboardKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED)
        g_host.closeNow = true;
}
void KeyboardModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void KeyboardRepeat(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener kKeyboardListener = {KeyboardKeymap, KeyboardEnter, KeyboardLeave,
                                                KeyboardKey,    KeyboardModifiers, KeyboardRepeat};

void Moved(wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    if (!g_pointer.movedBefore || surface != g_pointer.firstSurface) {
        g_pointer.movedBefore = true;
        g_pointer.firstSurface = surface;
        g_pointer.firstX = x;
        g_pointer.firstY = y;
        return;
    }
    if (MouseMoveCloses(wl_fixed_to_int(g_pointer.firstX), wl_fixed_to_int(g_pointer.firstY), wl_fixed_to_int(x),
                        wl_fixed_to_int(y)))
        g_host.closeNow = true;
}
void PointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    // No pointer over the saver.
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    g_pointer.over = surface;
    Moved(surface, x, y);
}
void PointerLeave(void*, wl_pointer*, uint32_t, wl_surface*)
{
    g_pointer.over = nullptr;
}
void PointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    Moved(g_pointer.over, x, y);
}
void PointerButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_POINTER_BUTTON_STATE_PRESSED)
        g_host.closeNow = true;
}
void PointerAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void PointerFrame(void*, wl_pointer*) {}
void PointerAxisSource(void*, wl_pointer*, uint32_t) {}
void PointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void PointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener kPointerListener = {PointerEnter, PointerLeave,      PointerMotion,   PointerButton,
                                              PointerAxis,  PointerFrame,      PointerAxisSource, PointerAxisStop,
                                              PointerAxisDiscrete, nullptr};

// A finger put down ends the run as a click does (a tablet without keyboard or mouse).
void TouchDown(void*, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t)
{
    g_host.closeNow = true;
}
void TouchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t) {}
void TouchMotion(void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {}
void TouchFrame(void*, wl_touch*) {}
void TouchCancel(void*, wl_touch*) {}
const wl_touch_listener kTouchListener = {TouchDown, TouchUp, TouchMotion, TouchFrame, TouchCancel, nullptr, nullptr};

void SeatCapabilities(void*, wl_seat* seat, uint32_t capabilities)
{
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && g_host.keyboard == nullptr) {
        g_host.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(g_host.keyboard, &kKeyboardListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && g_host.keyboard != nullptr) {
        wl_keyboard_release(g_host.keyboard);
        g_host.keyboard = nullptr;
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && g_host.pointer == nullptr) {
        g_host.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(g_host.pointer, &kPointerListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_POINTER) && g_host.pointer != nullptr) {
        wl_pointer_release(g_host.pointer);
        g_host.pointer = nullptr;
    }
    if ((capabilities & WL_SEAT_CAPABILITY_TOUCH) && g_host.touch == nullptr) {
        g_host.touch = wl_seat_get_touch(seat);
        wl_touch_add_listener(g_host.touch, &kTouchListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_TOUCH) && g_host.touch != nullptr) {
        wl_touch_release(g_host.touch);
        g_host.touch = nullptr;
    }
}
void SeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {SeatCapabilities, SeatName};
} // namespace

void AddSeat(uint32_t name)
{
    if (g_host.seat != nullptr)
        return;
    g_host.seat = static_cast<wl_seat*>(wl_registry_bind(g_host.registry, name, &wl_seat_interface, 5));
    wl_seat_add_listener(g_host.seat, &kSeatListener, nullptr);
}

void ReleaseInput()
{
    if (g_host.keyboard != nullptr)
        wl_keyboard_release(g_host.keyboard);
    if (g_host.pointer != nullptr)
        wl_pointer_release(g_host.pointer);
    if (g_host.touch != nullptr)
        wl_touch_release(g_host.touch);
    if (g_host.seat != nullptr)
        wl_seat_release(g_host.seat);
    g_host.keyboard = nullptr;
    g_host.pointer = nullptr;
    g_host.touch = nullptr;
    g_host.seat = nullptr;
}
