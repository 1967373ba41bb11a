#pragma once

namespace moravelt {

class Form1;
class Form2;
class Form3;

// The three windows, each existing once and reached through one reference. The main window
// is registered by its creator; the other two are created hidden on first use.
Form1& form1();
void registerForm1(Form1* window);
Form2& form2();
Form3& form3();
bool form2Exists();
bool form3Exists();

// Deletes the windows (at exit and between tests).
void destroyWindows();

} // namespace moravelt
