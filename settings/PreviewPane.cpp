#include "settings/PreviewPane.h"

#include "settings/Session.h"

#include <glib-unix.h>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
struct Preview {
    GtkWidget* picture = nullptr;
    int width = 0;
    int height = 0;
    bool resting = false;
    GPid pid = 0;
    int asks = -1;
    int frames = -1;
    guint watch = 0;
    bool asked = false;  // a frame is on its way
    gint64 lastAsk = 0;  // the frame clock's time of the last ask, in microseconds
    std::vector<uint8_t> frame;
    size_t got = 0;
};

void Stop(Preview& preview)
{
    if (preview.watch != 0)
        g_source_remove(preview.watch);
    preview.watch = 0;
    // Closing both ends ends it, with its teardown; the child watch reaps it.
    if (preview.asks >= 0)
        close(preview.asks);
    if (preview.frames >= 0)
        close(preview.frames);
    preview.asks = preview.frames = -1;
    preview.pid = 0;
    preview.asked = false;
    preview.got = 0;
}

void Reaped(GPid pid, gint, gpointer)
{
    g_spawn_close_pid(pid);
}

gboolean ReadFrame(gint fd, GIOCondition, gpointer data)
{
    Preview& preview = *static_cast<Preview*>(data);
    const ssize_t count = read(fd, preview.frame.data() + preview.got, preview.frame.size() - preview.got);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return G_SOURCE_CONTINUE;
    if (count <= 0) {
        // It ended (it could not start, say): the last picture stays.
        preview.watch = 0;
        Stop(preview);
        return G_SOURCE_REMOVE;
    }
    preview.got += static_cast<size_t>(count);
    if (preview.got < preview.frame.size())
        return G_SOURCE_CONTINUE;
    GBytes* bytes = g_bytes_new(preview.frame.data(), preview.frame.size());
    GdkTexture* texture = gdk_memory_texture_new(preview.width, preview.height, GDK_MEMORY_R8G8B8A8, bytes,
                                                 static_cast<gsize>(preview.width) * 4u);
    g_bytes_unref(bytes);
    gtk_picture_set_paintable(GTK_PICTURE(preview.picture), GDK_PAINTABLE(texture));
    g_object_unref(texture);
    preview.got = 0;
    preview.asked = false;
    return G_SOURCE_CONTINUE;
}

void Start(Preview& preview)
{
    const std::string path = ProgramPath("morrowmere-preview");
    const std::string size = std::to_string(preview.width) + "x" + std::to_string(preview.height);
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(size.c_str()), nullptr};
    GError* error = nullptr;
    if (!g_spawn_async_with_pipes(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &preview.pid,
                                  &preview.asks, &preview.frames, nullptr, &error)) {
        g_warning("no preview: %s", error->message);
        g_error_free(error);
        return;
    }
    g_child_watch_add(preview.pid, Reaped, nullptr);
    fcntl(preview.frames, F_SETFL, fcntl(preview.frames, F_GETFL) | O_NONBLOCK);
    fcntl(preview.asks, F_SETFD, FD_CLOEXEC);
    fcntl(preview.frames, F_SETFD, FD_CLOEXEC);
    preview.watch = g_unix_fd_add(preview.frames, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), ReadFrame, &preview);
}

// Called at each frame of the window's frame clock, which stops while the window is hidden.
gboolean AskForFrame(GtkWidget*, GdkFrameClock* clock, gpointer data)
{
    Preview& preview = *static_cast<Preview*>(data);
    const gint64 now = gdk_frame_clock_get_frame_time(clock);
    if (preview.resting || preview.asked || preview.asks < 0 || now - preview.lastAsk < 1000000 / kPreviewFramesPerSecond)
        return G_SOURCE_CONTINUE;
    const char ask = 'f';
    if (write(preview.asks, &ask, 1) == 1) {
        preview.asked = true;
        preview.lastAsk = now;
    }
    return G_SOURCE_CONTINUE;
}

Preview& Of(GtkWidget* pane)
{
    return *static_cast<Preview*>(g_object_get_data(G_OBJECT(pane), "preview"));
}

void Mapped(GtkWidget* pane, gpointer)
{
    Preview& preview = Of(pane);
    if (preview.pid == 0 && !preview.resting)
        Start(preview);
}

void Destroyed(gpointer data)
{
    Preview* preview = static_cast<Preview*>(data);
    Stop(*preview);
    delete preview;
}
} // namespace

GtkWidget* NewPreviewPane(int width, int height)
{
    auto* preview = new Preview;
    preview->width = width;
    preview->height = height;
    preview->frame.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
    preview->picture = gtk_picture_new();
    gtk_picture_set_can_shrink(GTK_PICTURE(preview->picture), FALSE);
    gtk_widget_set_size_request(preview->picture, width, height);
    gtk_widget_set_halign(preview->picture, GTK_ALIGN_CENTER);
    gtk_accessible_update_property(GTK_ACCESSIBLE(preview->picture), GTK_ACCESSIBLE_PROPERTY_LABEL, "Preview", -1);
    g_object_set_data_full(G_OBJECT(preview->picture), "preview", preview, Destroyed);
    g_signal_connect(preview->picture, "map", G_CALLBACK(Mapped), nullptr);
    gtk_widget_add_tick_callback(preview->picture, AskForFrame, preview, nullptr);
    return preview->picture;
}

void RestartPreview(GtkWidget* pane)
{
    Preview& preview = Of(pane);
    Stop(preview);
    if (gtk_widget_get_mapped(pane) && !preview.resting)
        Start(preview);
}

void PreviewRuns(GtkWidget* pane, bool runs)
{
    Preview& preview = Of(pane);
    preview.resting = !runs;
}
