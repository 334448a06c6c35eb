// Decodes a written picture back and checks that it is what it should be.
// Each throws std::runtime_error saying what is wrong.
#pragma once

#include <string>
#include <vector>

#include "resources/generate/image_files.h"

// An 8-bit RGB PNG without alpha of the emblem's size, holding `expected`
// exactly, with the wedge's steps at their levels.
void CheckHero(const std::string& path, const TPixels& expected);
// A colour JPEG of the photograph's size whose flat patches decode to their
// colours, with every near-black and near-white step told apart.
void CheckReferencePhoto(const std::string& path);
