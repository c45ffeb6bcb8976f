// morrowmere-settings, "Morrowmere Settings": the saver's settings on desktops without
// XScreenSaver, with a live preview. Each change is stored at once in the settings file that the
// saver and the idle watcher read, the file's other lines kept; the idle time starts or stops the
// watcher in this session.
// A stored value that the saver does not take is shown as what the saver does with it instead.

#include "base/RenderScale.h"
#include "base/SettingsStore.h"
#include "idle/Setting.h"
#include "settings/PreviewPane.h"
#include "settings/Session.h"

#include <adwaita.h>

#include <string>

namespace {
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 180;
constexpr int kIdleMinutesDefault = 5;
constexpr int kIdleMinutesMost = 1440;

struct Window {
    SettingsStore settings;
    GtkWidget* window = nullptr;
    GtkWidget* preview = nullptr;
    GtkWidget* idleOn = nullptr;
    GtkWidget* idleMinutes = nullptr;
    GtkWidget* fullScreen = nullptr;
    GtkWidget* problem = nullptr;
};

// The values as the saver takes them: what it would do with anything else is what is shown.
void TakeStoredValues(SettingsStore& settings)
{
    int32_t value = 0;
    settings.Get("EnableFPS", value);
    settings.Set("EnableFPS", value > 0 ? 1 : 0);
    for (const char* name : {"EnableSound", "BatteryFrameCap"}) {
        settings.Get(name, value);
        settings.Set(name, value != 0 ? 1 : 0);
    }
    double scale = 1.0;
    settings.Get("RenderScale", value);
    if (!RenderScaleFromPercent(value, scale))
        settings.Set("RenderScale", kRenderScaleFullPercent);
}

void Say(Window& window, const std::string& text)
{
    gtk_label_set_text(GTK_LABEL(window.problem), text.c_str());
    gtk_widget_set_visible(window.problem, !text.empty());
}

// One setting changed: its line is written, every other line of the file kept as it was; the
// preview starts again to take it.
void Store(Window& window, const char* name, int32_t value)
{
    Say(window, StoreSettingLine(name, value) ? "" : "The settings could not be saved.");
    RestartPreview(window.preview);
}

// The watcher follows the choice at once: started with the new time, or stopped.
void IdleChanged(Window& window)
{
    const bool on = gtk_switch_get_active(GTK_SWITCH(window.idleOn));
    const int minutes = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(window.idleMinutes));
    gtk_widget_set_sensitive(window.idleMinutes, on);
    if (!StoreIdleSeconds(on ? minutes * 60 : 0)) {
        Say(window, "The idle time could not be saved.");
        return;
    }
    StopWatcher();
    std::string problem;
    const int blank = GnomeBlankSeconds();
    if (on && !StartWatcher(problem))
        Say(window, "The idle watcher could not start: " + problem);
    else if (on && blank > 0 && minutes * 60 >= blank)
        Say(window, "GNOME blanks the screen after " + std::to_string(blank / 60) +
                        " minutes (Settings \u2192 Power \u2192 Screen Blank): choose a shorter time, or a longer blank.");
    else
        Say(window, "");
}

void IdleSwitched(GObject*, GParamSpec*, gpointer data)
{
    IdleChanged(*static_cast<Window*>(data));
}

void IdleMinutesChanged(GtkSpinButton*, gpointer data)
{
    Window& window = *static_cast<Window*>(data);
    if (gtk_switch_get_active(GTK_SWITCH(window.idleOn)))
        IdleChanged(window);
}

void SettingSwitched(GObject* control, GParamSpec*, gpointer data)
{
    Window& window = *static_cast<Window*>(data);
    const char* name = static_cast<const char*>(g_object_get_data(control, "setting"));
    Store(window, name, gtk_switch_get_active(GTK_SWITCH(control)) ? 1 : 0);
}

void ScaleChanged(GtkSpinButton* control, gpointer data)
{
    Window& window = *static_cast<Window*>(data);
    Store(window, "RenderScale", gtk_spin_button_get_value_as_int(control));
}

void FullScreenEnded(GPid pid, gint, gpointer data)
{
    Window& window = *static_cast<Window*>(data);
    g_spawn_close_pid(pid);
    gtk_widget_set_sensitive(window.fullScreen, TRUE);
    PreviewRuns(window.preview, true);
    gtk_window_present(GTK_WINDOW(window.window));
}

// The saver as the watcher runs it; the window comes back when it ends.
void PreviewFullScreen(GtkButton*, gpointer data)
{
    Window& window = *static_cast<Window*>(data);
    const std::string path = ProgramPath("morrowmere");
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("-fullscreen"), nullptr};
    GPid pid = 0;
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, &error)) {
        Say(window, std::string("The saver could not start: ") + error->message);
        g_error_free(error);
        return;
    }
    gtk_widget_set_sensitive(window.fullScreen, FALSE);
    PreviewRuns(window.preview, false);
    g_child_watch_add(pid, FullScreenEnded, &window);
}

// A row with a control at its end, the row's title being the control's name too.
GtkWidget* Row(GtkWidget* group, const char* title, const char* subtitle, GtkWidget* control)
{
    GtkWidget* row = adw_action_row_new();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), title);
    if (subtitle != nullptr)
        adw_action_row_set_subtitle(ADW_ACTION_ROW(row), subtitle);
    gtk_widget_set_valign(control, GTK_ALIGN_CENTER);
    adw_action_row_add_suffix(ADW_ACTION_ROW(row), control);
    // A switch is named by its row, which it toggles; a spin button needs its name.
    if (GTK_IS_SWITCH(control))
        adw_action_row_set_activatable_widget(ADW_ACTION_ROW(row), control);
    else
        gtk_accessible_update_property(GTK_ACCESSIBLE(control), GTK_ACCESSIBLE_PROPERTY_LABEL, title, -1);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(group), row);
    return row;
}

GtkWidget* SettingSwitch(Window& window, GtkWidget* group, const char* name, const char* title)
{
    int32_t value = 0;
    window.settings.Get(name, value);
    GtkWidget* control = gtk_switch_new();
    gtk_switch_set_active(GTK_SWITCH(control), value != 0);
    g_object_set_data(G_OBJECT(control), "setting", const_cast<char*>(name));
    g_signal_connect(control, "notify::active", G_CALLBACK(SettingSwitched), &window);
    Row(group, title, nullptr, control);
    return control;
}

void Build(Window& window, GtkApplication* application)
{
    TakeStoredValues(window.settings);
    window.window = adw_application_window_new(application);
    gtk_window_set_title(GTK_WINDOW(window.window), "Morrowmere Settings");
    gtk_window_set_default_size(GTK_WINDOW(window.window), 480, 700);

    GtkWidget* page = adw_preferences_page_new();
    GtkWidget* scene = adw_preferences_group_new();
    window.preview = NewPreviewPane(kPreviewWidth, kPreviewHeight);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(scene), window.preview);
    window.fullScreen = gtk_button_new_with_label("Preview full screen");
    gtk_widget_set_halign(window.fullScreen, GTK_ALIGN_CENTER);
    gtk_widget_set_margin_top(window.fullScreen, 12);
    g_signal_connect(window.fullScreen, "clicked", G_CALLBACK(PreviewFullScreen), &window);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(scene), window.fullScreen);
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(scene));

    GtkWidget* starting = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(starting), "Start");
    adw_preferences_group_set_description(ADW_PREFERENCES_GROUP(starting), HowItStartsHere().c_str());
    const int32_t idleSeconds = StoredIdleSeconds();
    window.idleOn = gtk_switch_new();
    gtk_switch_set_active(GTK_SWITCH(window.idleOn), idleSeconds > 0);
    Row(starting, "Start when idle", "Off: the saver never starts by itself", window.idleOn);
    window.idleMinutes = gtk_spin_button_new_with_range(1, kIdleMinutesMost, 1);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(window.idleMinutes),
                              idleSeconds > 0 ? (idleSeconds + 59) / 60 : kIdleMinutesDefault);
    gtk_widget_set_sensitive(window.idleMinutes, idleSeconds > 0);
    Row(starting, "Start after", "minutes without input", window.idleMinutes);
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(starting));

    GtkWidget* saver = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(saver), "Saver");
    SettingSwitch(window, saver, "EnableFPS", "Show frame rate");
    SettingSwitch(window, saver, "EnableSound", "Play sound");
    SettingSwitch(window, saver, "BatteryFrameCap", "Fewer frames on battery");
    int32_t percent = kRenderScaleFullPercent;
    window.settings.Get("RenderScale", percent);
    GtkWidget* scale = gtk_spin_button_new_with_range(kRenderScaleLeastPercent, kRenderScaleFullPercent, 5);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(scale), percent);
    Row(saver, "Render scale", "percent of the screen's resolution, then scaled up", scale);
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(saver));

    window.problem = gtk_label_new("");
    gtk_label_set_wrap(GTK_LABEL(window.problem), TRUE);
    gtk_widget_set_margin_start(window.problem, 12);
    gtk_widget_set_margin_end(window.problem, 12);
    gtk_widget_add_css_class(window.problem, "error");
    gtk_widget_set_visible(window.problem, FALSE);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(box), adw_header_bar_new());
    gtk_box_append(GTK_BOX(box), window.problem);
    gtk_widget_set_vexpand(page, TRUE);
    gtk_box_append(GTK_BOX(box), page);
    adw_application_window_set_content(ADW_APPLICATION_WINDOW(window.window), box);

    // Connected once the values are shown, so that showing them stores nothing.
    g_signal_connect(window.idleOn, "notify::active", G_CALLBACK(IdleSwitched), &window);
    g_signal_connect(window.idleMinutes, "value-changed", G_CALLBACK(IdleMinutesChanged), &window);
    g_signal_connect(scale, "value-changed", G_CALLBACK(ScaleChanged), &window);
    gtk_window_present(GTK_WINDOW(window.window));
}

void Activated(GtkApplication* application, gpointer data)
{
    Window& window = *static_cast<Window*>(data);
    if (window.window != nullptr) {
        gtk_window_present(GTK_WINDOW(window.window));
        return;
    }
    Build(window, application);
}
} // namespace

int main(int argc, char** argv)
{
    Window window;
    AdwApplication* application = adw_application_new("org.tovrelin.MorrowmereSettings", G_APPLICATION_DEFAULT_FLAGS);
    g_signal_connect(application, "activate", G_CALLBACK(Activated), &window);
    const int status = g_application_run(G_APPLICATION(application), argc, argv);
    g_object_unref(application);
    return status;
}
