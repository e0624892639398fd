#pragma once
#include "shell/component_module.h"
#include "widgets/label_props.h"

namespace widgets {

// The title label: static text with its caption from the block.
class TransLabel final : public shell::Component {
public:
    TransLabel(std::uint32_t window_id, std::uint32_t unit_id, LabelProps props)
        : Component(window_id, unit_id), props_(std::move(props)) {}

    static std::shared_ptr<shell::Component> Create(const shell::CreateContext& ctx);
    bool SetProperty(int index, const shell::PropertyValue& value) override;
    const LabelProps& props() const { return props_; }

private:
    LabelProps props_;
};

extern const shell::ComponentModule kTransLabelModule;

}  // namespace widgets
