#pragma once
#include "shell/component_module.h"
#include "widgets/button_props.h"

namespace widgets {

// The board's push button: the system button class, captioned from its block;
// each click notification raises event 0.
class ImageButton final : public shell::Component {
public:
    ImageButton(std::uint32_t window_id, std::uint32_t unit_id, ButtonProps props)
        : Component(window_id, unit_id), props_(std::move(props)) {}

    static std::shared_ptr<shell::Component> Create(const shell::CreateContext& ctx);
    bool SetProperty(int index, const shell::PropertyValue& value) override;
    void OnParentCommand(WORD code) override;

    const ButtonProps& props() const { return props_; }

private:
    ButtonProps props_;
};

extern const shell::ComponentModule kImageButtonModule;

}  // namespace widgets
