// The colour-blind-safe palette: red operators stay red, and the colours that stood too near them or each
// other for a pupil without one kind of cone move to hues that differ in lightness as well.
#include "typeset/Palette.h"

#include "engine/Settings.h"

Color SafeColour(Color role) {
  if (role == CLR_MAROON) return Color(136, 34, 85);  // powers, "!", "P", "C", ":": wine
  if (role == CLR_TEAL) return Color(0, 0, 255);  // bars and lines: blue
  if (role == CLR_BLUE) return Color(51, 34, 136);  // "=", parentheses, relations: indigo
  if (role == CLR_MAGENTA) return Color(204, 121, 167);  // the repeating part's cursor, long-form brackets
  if (role == CLR_PURPLE) return Color(170, 68, 153);  // the "[" being typed
  if (role == CLR_GREEN) return Color(0, 114, 178);  // the verdict that a division terminates
  return role;
}

Color ShownColour(Color role) { return IROSAFE ? SafeColour(role) : role; }
