// An activation token from the session's compositor, asked for as a launcher asks one for the
// program it starts (xdg_activation_v1), printed on stdout: a test hands it to the saver in
// XDG_ACTIVATION_TOKEN. The token names no surface and no input event; what it is worth is the
// compositor's decision.
//   activation-token APP-ID
// It ends with 1 when there is no session, the session offers no activation, or it gives no
// token.

#include "xdg-activation-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
xdg_activation_v1* g_activation = nullptr;
std::string g_token;
bool g_done = false;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        g_activation =
            static_cast<xdg_activation_v1*>(wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

void Done(void*, xdg_activation_token_v1*, const char* token)
{
    g_token = token;
    g_done = true;
}
const xdg_activation_token_v1_listener kTokenListener = {Done};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: activation-token APP-ID\n");
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "activation-token: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (g_activation == nullptr) {
        std::fprintf(stderr, "activation-token: the compositor offers no activation\n");
        return 1;
    }
    xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(g_activation);
    xdg_activation_token_v1_add_listener(token, &kTokenListener, nullptr);
    xdg_activation_token_v1_set_app_id(token, argv[1]);
    xdg_activation_token_v1_commit(token);
    while (!g_done && wl_display_dispatch(display) >= 0) {
    }
    // The token outlives this request: the compositor keeps it for the program it is handed to.
    xdg_activation_token_v1_destroy(token);
    xdg_activation_v1_destroy(g_activation);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    if (g_token.empty()) {
        std::fprintf(stderr, "activation-token: the compositor gave no token\n");
        return 1;
    }
    std::printf("%s\n", g_token.c_str());
    return 0;
}
