// SPDX-License-Identifier: MIT

#pragma once

namespace moravelt {

class Form1;
class Form2;
class Form3;

// The three windows, each existing once and reached through one reference. The main window
// creates the two others and registers all three; each reference throws MoraveltError while
// no main window exists.
Form1& form1();
Form2& form2();
Form3& form3();
bool windowsExist();
void registerWindows(Form1* main, Form2* info, Form3* navi);

// Deletes the main window, and with it the two others (at exit and between tests).
void destroyWindows();

} // namespace moravelt
