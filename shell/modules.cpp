// The component modules the shell connects at start-up.
#include <array>

#include "shell/modules.h"
#include "web/web_panel.h"
#include "widgets/image_button.h"
#include "widgets/timer.h"
#include "widgets/trans_label.h"

namespace shell {

std::span<const base::ComponentModule> ComponentModules() {
    static const std::array modules{widgets::kImageButtonModule, widgets::kTransLabelModule,
                                    widgets::kTimerModule, web::kWebPanelModule};
    return modules;
}

}  // namespace shell
