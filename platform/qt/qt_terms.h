// The model's texts, fonts and colours in Qt's terms.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "paint/canvas.h"
#include "ui/controls.h"

// Caption bytes as Qt shows them (see ShownText).
QString ToQString(const std::string& bytes);

// Negative heights are the character height without internal leading, which
// is Qt's pixel size. Tahoma where installed, else the desktop's sans font.
QFont ToQFont(const std::string& name, int32_t height, bool bold = false, bool underline = false);
QFont ToQFont(const TControlFont& font);

// Nothing for a system colour: the widget keeps the style's own.
std::optional<QColor> ToQColor(TColor color);
