// The colours of the roles as they are shown: the standard colours, or with the setting IROSAFE a palette
// whose operators, powers, fraction bars and brackets stay apart for pupils with protanopia, deuteranopia
// or tritanopia. Colour is never the only mark: operators are their own glyphs, powers are raised and
// smaller, bars are lines, the answer has its label and underline.
#pragma once

#include "platform/Canvas.h"

// The colour-blind-safe colour of a role colour (other colours are returned as they are).
Color SafeColour(Color role);

// The colour a surface shows for a role colour under the current setting.
Color ShownColour(Color role);
