// How the process sees monitors and DPI.
#pragma once

// The process asks to see monitors and DPI as they are, per monitor (version
// 2, else version 1), in case its manifest did not already: a program that
// Windows scales reads virtual monitor rectangles. Call it before the
// displays are discovered.
void DeclarePerMonitorDpiAwareness();
