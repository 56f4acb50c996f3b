// Start-up and shutdown of the program: the windows are created in a fixed order, the event
// loop runs, and the windows are destroyed in the reverse order, all under the error guard.
#pragma once

class QLocale;

namespace app {

// Steps after the application object exists: title, main window (which reads the settings),
// the phone dialog and the about box (hidden), the event loop; then the windows are destroyed
// again, the main window last, which writes the settings. Always returns 0.
int RunApplication();

// The whole program: makes the application object, then RunApplication.
int RunProgram(int& argc, char** argv);

// Qt's own texts (the file dialogs' labels, the boxes' context menus, the message boxes'
// buttons) in the language of locale, from Debian's qt6-translations-l10n; the program's own
// texts are not translated and stay as they are. Returns whether a catalogue was found.
bool InstallToolkitTranslations(const QLocale& locale);

// Shows a settings file that cannot be written at exit in the error box (no owner window; the
// main window is gone by then) and on standard error.
void InstallSettingsFailureDisplay();

}  // namespace app
