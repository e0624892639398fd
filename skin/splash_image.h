#pragma once
#include "base/byte_blob.h"

// The start window's 600 by 400 RGBA PNG, in read-only data.
extern "C" const ByteBlob kSplashImage;
