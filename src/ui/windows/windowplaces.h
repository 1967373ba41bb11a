// SPDX-License-Identifier: MIT

#pragma once

namespace moravelt::WindowPlaces {

// Whether the window system tells a program where its top-level windows are and lets it place
// them. X11 does. A Wayland compositor does neither: there a window's position, as Qt answers
// it, is only what was asked for, or zero.
bool reportedByPlatform();

} // namespace moravelt::WindowPlaces
