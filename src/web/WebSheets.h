// The sheet the browser's 問題づくり shows now, for the parts of the dialog kept in files of their own (the
// hand-out of the sheet as an assignment).
#pragma once

#include "sheets/Sheet.h"

// The sheet last made from the dialog's fields (empty, with its message, when the fields were refused).
const Sheet& WebCurrentSheet();
