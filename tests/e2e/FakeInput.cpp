// A keyboard of the tests' own on KDE's compositor (its fake input protocol, which kwin offers a
// client only when started with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1): kwin's virtual session has
// no input devices a test could drive. Each command makes a fake input device on the seat, sends
// its requests, waits until the compositor has read them (a round trip) and ends:
//   fake-input key CODE   presses and releases the key of that evdev code
// It ends with 1 when there is no session, or the session offers no fake input.

#include "fake-input-client-protocol.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// keyboard_key came with the protocol's fourth version.
constexpr uint32_t kVersion = 4;

org_kde_kwin_fake_input* g_input = nullptr;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= kVersion)
        g_input = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, kVersion));
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};
} // namespace

int main(int argc, char** argv)
{
    if (!(argc == 3 && std::strcmp(argv[1], "key") == 0)) {
        std::fprintf(stderr, "usage: fake-input key CODE\n");
        return 2;
    }
    const uint32_t code = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "fake-input: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (g_input == nullptr) {
        std::fprintf(stderr, "fake-input: the compositor offers no fake input (version %u)\n", kVersion);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(g_input, "morrowmere tests", "types the key that ends a run");
    org_kde_kwin_fake_input_keyboard_key(g_input, code, WL_KEYBOARD_KEY_STATE_PRESSED);
    org_kde_kwin_fake_input_keyboard_key(g_input, code, WL_KEYBOARD_KEY_STATE_RELEASED);
    const bool answered = wl_display_roundtrip(display) >= 0;
    // The protocol has no destructor request: the device goes with the connection.
    org_kde_kwin_fake_input_destroy(g_input);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered ? 0 : 1;
}
