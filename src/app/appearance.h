// The background window's appearance as the installer's settings describe it.
#pragma once

#include "archive/settings.h"
#include "core/string.h"

namespace app {

// What the flag words decide before the window exists: full screen or the work area.
void prepare_background(const archive::Settings& settings);

// Colours, title font, shadow, position and picture from the settings, then a repaint.
void show_settings_on_background(const archive::Settings& settings);

// The title painted on the background, then a repaint.
void set_background_title(const core::String& title);

}  // namespace app
