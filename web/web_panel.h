#pragma once
#include "shell/component_module.h"
#include "web/html_props.h"

namespace web {

// The web panel's host window at its place on the board; it keeps the page
// address and the other stored properties.
class WebPanel final : public shell::Component {
public:
    WebPanel(std::uint32_t window_id, std::uint32_t unit_id, HtmlViewerProps props)
        : Component(window_id, unit_id), props_(std::move(props)) {}

    static std::shared_ptr<shell::Component> Create(const shell::CreateContext& ctx);
    bool SetProperty(int index, const shell::PropertyValue& value) override;
    const HtmlViewerProps& props() const { return props_; }

private:
    HtmlViewerProps props_;
};

extern const shell::ComponentModule kWebPanelModule;

}  // namespace web
