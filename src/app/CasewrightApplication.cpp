#include "app/CasewrightApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <stdexcept>

#include "base/ProgramFolders.h"
#include "base/UiText.h"
#include "base/UserPrompts.h"

namespace cw {

namespace {

class MessageBoxSink : public MessageSink
{
public:
    void showMessage(const QString &text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Casewright"), text);
    }
};

} // namespace

QString exceptionMessage(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc &) {
        return UiText::tr("メモリが不足しています");
    } catch (const std::exception &e) {
        const QString what = QString::fromLocal8Bit(e.what());
        return what.isEmpty() ? UiText::tr("予期しないエラーが発生しました") : what;
    } catch (...) {
        return UiText::tr("予期しないエラーが発生しました");
    }
}

bool deliverGuarded(const std::function<bool()> &deliver, MessageSink &messages)
{
    try {
        return deliver();
    } catch (...) {
        messages.showMessage(exceptionMessage(std::current_exception()));
        return false;
    }
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QCoreApplication::setApplicationName(QStringLiteral("Casewright"));
    QCoreApplication::setApplicationVersion(programVersion());
    QGuiApplication::setDesktopFileName(QStringLiteral("casewright"));
}

QTranslator *installQtTranslations(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    // What Qt's catalogue lacks comes from the program's own, which goes with
    // it (deleting a translator uninstalls it).
    auto *supplement = new QTranslator(translator);
    if (!supplement->load(QStringLiteral(":/i18n/casewright_qt_ja.qm"))
        || !QCoreApplication::installTranslator(supplement))
        delete supplement;
    return translator;
}

UiLanguage installTranslations(QCoreApplication &app, UiLanguage language)
{
    static QTranslator *qtJapanese = nullptr;
    const UiLanguage chosen = installUiTranslation(app, language);
    // Dates and sizes Qt writes for the windows (the file dialogs' lists)
    // follow the interface: Japanese ones with the Japanese interface even
    // under the C locale, the system's with English.
    QLocale::setDefault(chosen == UiLanguage::Japanese ? QLocale(QLocale::Japanese, QLocale::Japan)
                                                       : QLocale::system());
    if (chosen == UiLanguage::Japanese && !qtJapanese) {
        qtJapanese = installQtTranslations(app);
    } else if (chosen != UiLanguage::Japanese && qtJapanese) {
        QCoreApplication::removeTranslator(qtJapanese);
        delete qtJapanese;
        qtJapanese = nullptr;
    }
    return chosen;
}

CasewrightApplication::CasewrightApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

bool CasewrightApplication::notify(QObject *receiver, QEvent *event)
{
    static MessageBoxSink sink;
    return deliverGuarded([&] { return QApplication::notify(receiver, event); }, sink);
}

} // namespace cw
