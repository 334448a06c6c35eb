// Work of the window's start that needs no Qt object, begun on a thread of
// its own before QApplication: by the time the window needs its results they
// are there, instead of holding up the first frame.
#pragma once

#include <QImage>
#include <string>

// Reads the font configuration and decodes the embedded pictures, once.
void StartWindowPreparation();

// The embedded picture `name` (null for a name that the program does not
// hold); waits for the preparation if it is still under way.
QImage EmbeddedPictureImage(const std::string& name);
