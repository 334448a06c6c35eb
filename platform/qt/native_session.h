// Temporary until the window hook lands.
#pragma once
#include "paint/image_decoder.h"
void RunQtSession(ImageDecoder* decoder);
