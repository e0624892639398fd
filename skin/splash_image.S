#include "base/byte_blob_asm.h"

/* The 600 by 400 RGBA splash picture of the start window. */
BYTE_BLOB(kSplashImage, "splash.png")

SB_BLOB_END
