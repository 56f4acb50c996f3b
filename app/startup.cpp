#include "app/startup.h"

#include "app/errordisplay.h"
#include "app/frmmain.h"
#include "dialogs/pictures.h"
#include "dialogs/aboutbox.h"
#include "dialogs/desktopshell.h"
#include "dialogs/visitephone.h"
#include "base/errors.h"
#include "settings/inidatas.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace app {
namespace {

// Holds a window and the global that names it; the global is cleared before the window goes.
template <class Window>
class NamedWindow {
 public:
  NamedWindow(Window*& global, std::unique_ptr<Window> window)
      : global_(global), window_(std::move(window)) {
    global_ = window_.get();
  }
  ~NamedWindow() {
    global_ = nullptr;
    window_.reset();
  }
  NamedWindow(const NamedWindow&) = delete;
  NamedWindow& operator=(const NamedWindow&) = delete;
  Window* operator->() const { return window_.get(); }

 private:
  Window*& global_;
  std::unique_ptr<Window> window_;
};

}  // namespace

void InstallSettingsFailureDisplay() {
  // Called from a destructor: whatever happens here must not leave it.
  TIniDatas::SetWriteFailureHandler([](const std::string& message) noexcept {
    std::fprintf(stderr, "%s\n", message.c_str());
    try {
      ShowErrorBox(QString::fromStdString(bagfunc::WithFullStop(message)));
    } catch (...) {
      std::fputs("Trevana2023: the error could not be shown\n", stderr);
    }
  });
}

bool InstallToolkitTranslations(const QLocale& locale) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  // "qt" gathers the catalogues of every Qt module, qtbase among them.
  if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

int RunApplication() {
  Guarded([] {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    // No display name: the platform would append it to the main window's caption.
    QApplication::setWindowIcon(QIcon(dialogs::ProgramIcon()));  // the taskbar entry's
    InstallSettingsFailureDisplay();
    // The platform's dialogs speak the desktop's language, whatever the program's own flag.
    InstallToolkitTranslations(QLocale::system());
    // Carries out the help menu's requests to open the help file and the web page.
    const dialogs::DesktopShell shell;
    // Declared in creation order, so they are destroyed in the reverse one, FrmMain last,
    // also when start-up fails half way.
    NamedWindow<TFrmMain> mainWindow(FrmMain, std::make_unique<TFrmMain>());
    NamedWindow<TFrmVisitePhone> phone(FrmVisitePhone, std::make_unique<TFrmVisitePhone>());
    NamedWindow<TAboutBox> about(AboutBox, std::make_unique<TAboutBox>());
    mainWindow->show();
    QApplication::exec();
  });
  return 0;
}

int RunProgram(int& argc, char** argv) {
  try {
    TrevanaApplication application(argc, argv);
    return RunApplication();
  } catch (...) {
    // Without an application object there is no way to show a box.
    std::fputs("Trevana2023: the application could not start\n", stderr);
    return 0;
  }
}

}  // namespace app
