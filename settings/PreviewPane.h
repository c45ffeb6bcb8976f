#pragma once
// The settings window's live preview: a picture fed by morrowmere-preview, which draws the scene
// with the saver's own code. Frames are asked for while the picture is on screen (the window's
// frame clock runs), at most kPreviewFramesPerSecond; a hidden window asks for none, and the
// preview then waits without drawing.

#include <gtk/gtk.h>

constexpr int kPreviewFramesPerSecond = 15;

// The picture, with its preview not yet started.
GtkWidget* NewPreviewPane(int width, int height);
// Starts the preview again, so that it takes the stored settings as they are now.
void RestartPreview(GtkWidget* pane);
// While the saver runs full screen, the preview rests (false) and goes on after (true).
void PreviewRuns(GtkWidget* pane, bool runs);
