#include "skin/png_declare.h"

#include "skin/foreign.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"  // kPropBackImage

namespace skin {
namespace {

void SetImage(HWND control, const char* name, GpImage* image) {
    if (image)
        sys::SetPropA(control, name, image);
    else
        sys::RemovePropA(control, name);  // absent, not a zero value
}

}  // namespace

void DeclarePicture(HWND control, GpImage* image, std::int32_t back_type) {
    SetPropValue(control, kPropType, kTypePicture);
    SetPropValue(control, kPropBackType, back_type);
    SetImage(control, kPropBackImage, image);
}

void DeclareButton(HWND control, const ButtonImages& images, std::int32_t back_type) {
    SetPropValue(control, kPropType, kTypeButton);
    SetPropValue(control, kPropBackType, back_type);
    SetImage(control, kPropNormalImage, images.normal);
    SetImage(control, kPropOverImage, images.hover);
    SetImage(control, kPropDownImage, images.pressed);
    SetImage(control, kPropDisableImage, images.disabled);
}

void DeclareEdit(HWND control, const EditLook& look) {
    SetPropValue(control, kPropType, kTypeEdit);
    SetPropValue(control, kPropBackType, look.back_type);
    SetImage(control, kPropBackImage, look.image);
    SetPropValue(control, kPropBackColor, look.back_color);
    SetPropValue(control, kPropBackAlpha, look.back_alpha);
    SetPropValue(control, kPropOrderColor, look.border_color);
    SetPropValue(control, kPropOrderAlpha, look.border_alpha);
    SetPropValue(control, kPropTextColor, look.text_color);
}

}  // namespace skin
