#pragma once
// The window properties that make a child of a skinned window a PNG control,
// and the values they hold. A missing property reads as 0.
#include <cstdint>

namespace skin {

inline constexpr char kPropType[] = "PngControl_Type";
inline constexpr char kPropBackType[] = "PngControl_BackType";
// "PngControl_BackImage" (kPropBackImage) also serves pictures and edit boxes.
inline constexpr char kPropNormalImage[] = "PngControl_NormalImage";
inline constexpr char kPropOverImage[] = "PngControl_OverlImage";
inline constexpr char kPropDownImage[] = "PngControl_DownImage";
inline constexpr char kPropDisableImage[] = "PngControl_DisableImage";
inline constexpr char kPropBackColor[] = "PngControl_BackColor";
inline constexpr char kPropBackAlpha[] = "PngControl_BackAlpha";
inline constexpr char kPropOrderColor[] = "PngControl_OrderColor";
inline constexpr char kPropOrderAlpha[] = "PngControl_OrderAlpha";
inline constexpr char kPropTextColor[] = "PngControl_TextColor";
inline constexpr char kPropDrawState[] = "Comet_DrawState";

// Subclassing bookkeeping on a control.
inline constexpr char kPropChildWndProc[] = "PngControl_ChildWndProc";
inline constexpr char kPropWndProc[] = "PngControl_WndProc";

// Control types.
inline constexpr std::int32_t kTypePicture = 2, kTypeButton = 3, kTypeEdit = 4;
// How an image is placed in its control.
inline constexpr std::int32_t kBackNatural = 0, kBackStretch = 1, kBackFit = 2;
// A colour property of -1 draws no fill or no border.
inline constexpr std::int32_t kNoColour = -1;

}  // namespace skin
