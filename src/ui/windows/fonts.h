// SPDX-License-Identifier: MIT

#pragma once

namespace moravelt {

// The windows name the classic Windows Japanese fonts; the metric-compatible IPA fonts stand
// in for them.
void installFontSubstitutions();

} // namespace moravelt
