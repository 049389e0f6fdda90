#pragma once
// Program start-up: what the application needs before the window opens.

class QApplication;

// Chinese (PRC) locale and Qt's own Simplified Chinese texts for standard
// buttons and dialogs, the Song-style font with its substitutes, the program
// names, version and icon.
void prepareApplication(QApplication& app);

// Creates the window, runs its load handler, shows it and runs the event
// loop until the window is closed.
int runCalculator(QApplication& app);
