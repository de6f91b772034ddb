#pragma once

#include <QString>

// A walk through the main job for machines without a display: the window is shown, the
// device is found by autodetection, its version is read and the port chooser is opened,
// with a screenshot after each step saved in folder. Messages are shown without a modal
// loop and printed. Returns the program's exit code.
int runDemoScreenshots(const QString& folder);
