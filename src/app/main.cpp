#include <QCommandLineParser>
#include <QMessageBox>
#include <optional>

#include "app/CasewrightApplication.h"
#include "app/StartOptions.h"
#include "app/TMainWindow.h"
#include "base/UiText.h"
#include "fonts/Font.h"

using namespace cw;

int main(int argc, char **argv)
{
    // --help and --version need no display: answered before any window.
    if (const int status = answerWithoutWindow(argc, argv); status >= 0)
        return status;
    const UiLanguage language = uiLanguageFromEnvironment();
    std::optional<DisplayStartGuard> displayGuard(std::in_place, language);
    CasewrightApplication app(argc, argv);
    displayGuard.reset();
    setApplicationIdentity();
    installTranslations(app, language);
    installFontSubstitutions();

    QCommandLineParser parser;
    addStartOptions(parser);
    parser.process(app);

    // Creating the windows and reading the settings: a failure here is shown
    // and ends the run.
    std::unique_ptr<TMainWindow> window;
    try {
        window = std::make_unique<TMainWindow>();
        window->applySettings();
    } catch (...) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Casewright"), exceptionMessage(std::current_exception()));
        return 1;
    }
    // Showing the window reads the printer's resolution; a document named on
    // the command line is opened after that, so its device-pixel values are
    // converted to this printer like those of any opened document.
    window->show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        window->openDocument(files.first());
    return app.exec();
}
