#pragma once
// Asks the X server whether the keyboard is free (kept apart from the tests: the X headers' macros clash
// with GoogleTest's and Qt's names).

namespace norvane::test {

// Whether a new client can take the keyboard now: no other client holds it.
bool KeyboardIsFree();
// Whether a display of that name can be opened.
bool DisplayOpens(const char* name);

}  // namespace norvane::test
