#include "core/startup.h"

#include "core/settings.h"
#include "core/status_display.h"
#include "ui/gui.h"

namespace {

// The log area stays folded until the user asks for it.
constexpr int kFoldedMainWidth = 356;

}  // namespace

void RunStartup() {
    gui::SetWidth(ui::WindowKind::Main, kFoldedMainWidth);
    LoadSettings();
    RefreshOnlineState();
}
