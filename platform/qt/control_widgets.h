// The native widget of each kind of control, and the one function that makes
// a widget show its control. Widgets hold no behaviour: each turns the user's
// input into one call on its control, run through the window's input.
#pragma once

#include <functional>

#include "ui/controls.h"

class QWidget;

// Runs one piece of user input through the window's logic, then lets the
// widgets catch up with what it changed.
using TInput = std::function<void(const std::function<void()>& action)>;

// A widget for `control` (any kind but the form), a child of `parent`.
QWidget* CreateControlWidget(TControl& control, QWidget* parent, const TInput& input);

// Geometry, caption, font, colours, focus, visibility, enabled state and
// value of the control, each set only where the widget differs.
void SyncControlWidget(const TControl& control, QWidget& widget);
