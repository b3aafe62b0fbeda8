#pragma once

namespace linkcalc {
class CalcSheet;
}

namespace linkcalc::app {

// Test hook, not for users: when LINKCALC_SHEET_DUMP names a file, the program writes the
// sheet's 29 texts there as JSON ({"fields": {control name: text}}) when it ends, so an
// end-to-end test can read what the window showed.
void DumpSheetIfAsked(const CalcSheet& sheet);

}  // namespace linkcalc::app
