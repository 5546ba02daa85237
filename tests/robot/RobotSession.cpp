#include "RobotSession.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "app/TAboutBox.h"
#include "app/TMainWindow.h"
#include "render/ui/PreviewPageView.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

namespace {

// The keys the robot presses: moving, confirming, leaving, deleting, undo.
struct RobotKey
{
    int key;
    int mods;
};
const RobotKey kKeys[] = { { Qt::Key_Tab, 0 }, { Qt::Key_Backtab, Qt::ShiftModifier },
    { Qt::Key_Return, 0 }, { Qt::Key_Escape, 0 }, { Qt::Key_Up, 0 }, { Qt::Key_Down, 0 },
    { Qt::Key_Left, 0 }, { Qt::Key_Right, Qt::ShiftModifier }, { Qt::Key_Delete, 0 },
    { Qt::Key_Backspace, 0 }, { Qt::Key_Space, 0 }, { Qt::Key_Home, 0 }, { Qt::Key_PageDown, 0 },
    { Qt::Key_Z, Qt::ControlModifier }, { Qt::Key_Y, Qt::ControlModifier },
    { Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier }, { Qt::Key_A, Qt::ControlModifier },
    { Qt::Key_V, Qt::ControlModifier } };

// Parts of composite controls the robot reaches through the control itself.
bool internalPart(QWidget *w)
{
    for (QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        if (qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p)
            || qobject_cast<QTabBar *>(p) || qobject_cast<QAbstractItemView *>(p))
            return true;
    }
    return false;
}

bool actionable(QWidget *w)
{
    return qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w)
        || qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w)
        || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QAbstractItemView *>(w) || qobject_cast<QTabBar *>(w)
        || qobject_cast<PreviewPageView *>(w) || qobject_cast<ColorSwatch *>(w);
}

QString idOf(QWidget *w)
{
    return w->objectName().isEmpty() ? QLatin1Char('~') + QLatin1String(w->metaObject()->className())
                                     : w->objectName();
}

QList<QWidget *> windowWidgets(QWidget *window)
{
    QList<QWidget *> out;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (w->window() == window)
            out.append(w);
    return out;
}

QAccessibleActionInterface *accessibleActions(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->actionInterface() : nullptr;
}

} // namespace

QString widgetId(QWidget *window, QWidget *w)
{
    const QString id = idOf(w);
    int ordinal = 0;
    for (QWidget *other : windowWidgets(window)) {
        if (other == w)
            break;
        if (idOf(other) == id)
            ++ordinal;
    }
    return id + QLatin1Char('#') + QString::number(ordinal);
}

bool RobotPrinter::queryResolution(int &dpiX, int &dpiY)
{
    static const int kDpi[][2] = { { 300, 300 }, { 360, 360 }, { 600, 600 }, { 720, 720 },
        { 1200, 1200 }, { 600, 300 }, { 360, 720 }, { 96, 96 } };
    const int i = m_session.pick(9);
    if (i == 8)
        return false; // the printer cannot be reached
    dpiX = kDpi[i][0];
    dpiY = kDpi[i][1];
    return true;
}

RobotSession::RobotSession(const QString &files, const RobotSettings &settings)
    : m_files(files)
    , m_settings(settings)
    , m_printer(*this)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    printerState() = PrinterState();
    m_dialogs = std::make_unique<RobotDialogs>(*this);
    m_window = std::make_unique<TMainWindow>();
    m_window->setDialogs(m_dialogs.get());
    m_window->setPrinterBackend(&m_printer);
    m_window->show();
    QCoreApplication::processEvents();
    m_window->aboutBox()->close();
    m_window->applySettings();
    pollModals();
}

RobotSession::~RobotSession()
{
    *m_alive = false;
    m_dialogs->forcedConfirm = true;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != m_window.get())
            w->hide();
    m_window.reset();
    m_dialogs.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    printerState() = PrinterState();
}

QString RobotSession::out() const
{
    return m_files + QStringLiteral("/out");
}

QString RobotSession::typedText(std::mt19937 &rng)
{
    static const QStringList kTexts = { QStringLiteral("0"), QStringLiteral("7"),
        QStringLiteral("25"), QStringLiteral("120"), QStringLiteral("-1"), QStringLiteral("-0"),
        QStringLiteral("-99999"), QStringLiteral("2147483647"), QStringLiteral("2147483648"),
        QStringLiteral("-2147483649"), QStringLiteral("99999999999999999999999"),
        QStringLiteral("1e9"), QStringLiteral("+5"), QStringLiteral(" 12 "), QStringLiteral("3.5"),
        QStringLiteral("45.5"), QStringLiteral("-12.5"), QStringLiteral("180.1"), QStringLiteral("."),
        QStringLiteral("１２"), QStringLiteral("abc"), QStringLiteral("Tessellane"),
        QStringLiteral("夜明けの歌"), QStringLiteral("ｱｲｳｴｵ"), QStringLiteral("①Ⅱ㈱"),
        QStringLiteral("🎵 €ẞ āǅ"), QStringLiteral("한국어"), QStringLiteral("a\tb"),
        QStringLiteral(",\"'\\%"), QString() };
    const unsigned r = rng() % (kTexts.size() + 3);
    if (r < unsigned(kTexts.size()))
        return kTexts[int(r)];
    // Long texts: 2,000 characters of a mix.
    const QString unit = r == unsigned(kTexts.size()) ? QStringLiteral("9")
        : r == unsigned(kTexts.size()) + 1            ? QStringLiteral("漢字かなカナ")
                                                      : QStringLiteral("x🎵");
    QString s;
    while (s.size() < 2000)
        s += unit;
    s.truncate(2000);
    if (s.back().isHighSurrogate())
        s.back() = QLatin1Char('x'); // no half characters
    return s;
}

// ---- Windows and controls --------------------------------------------------------

QList<QWidget *> RobotSession::robotWindows() const
{
    QList<QWidget *> out;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->objectName() == QLatin1String("ProgressWindow"))
            continue;
        const Qt::WindowType type = w->windowType();
        if (type != Qt::Window && type != Qt::Dialog)
            continue;
        // A modal window takes every input while it is shown.
        if (w->windowModality() != Qt::NonModal)
            return { w };
        out.append(w);
    }
    std::sort(out.begin(), out.end(),
        [](QWidget *a, QWidget *b) { return idOf(a) < idOf(b); });
    return out;
}

QWidget *RobotSession::findWindow(const QString &key) const
{
    for (QWidget *w : robotWindows())
        if (idOf(w) == key)
            return w;
    return nullptr;
}

QWidget *RobotSession::findTarget(QWidget *window, const QString &target) const
{
    const QString id = target.section(QLatin1Char('#'), 0, 0);
    const int ordinal = target.section(QLatin1Char('#'), 1).toInt();
    int n = 0;
    for (QWidget *w : windowWidgets(window))
        if (idOf(w) == id && n++ == ordinal)
            return w;
    return nullptr;
}

QList<QWidget *> RobotSession::candidates(QWidget *window) const
{
    QList<QWidget *> out;
    for (QWidget *w : windowWidgets(window))
        if (w->isVisible() && w->isEnabled() && actionable(w) && !internalPart(w))
            out.append(w);
    return out;
}

RobotAction RobotSession::actionFor(QWidget *window, QWidget *w, std::mt19937 &rng)
{
    RobotAction a;
    a.window = idOf(window);
    a.target = widgetId(window, w);
    a.sub = rng();
    const int r = int(rng() % 100);
    if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
        a.verb = r < 45 ? QStringLiteral("click") : r < 85 ? QStringLiteral("toggle") : QStringLiteral("press");
    } else if (qobject_cast<QAbstractButton *>(w)) {
        a.verb = r < 85 ? QStringLiteral("click") : QStringLiteral("press");
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        a.verb = QStringLiteral("combo");
        a.a = int(rng() % unsigned(std::max(1, combo->count())));
    } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w)) {
        a.verb = QStringLiteral("type");
        a.text = typedText(rng);
        a.a = int(rng() % 3); // 0 at the end, 1 over the selected text, 2 into a cleared field
        a.b = int(rng() % 3); // then 0 nothing, 1 Enter, 2 Tab
    } else if (qobject_cast<QPlainTextEdit *>(w)) {
        // Lines of a text block: two texts with Enter between them.
        a.verb = QStringLiteral("lines");
        a.text = typedText(rng) + QLatin1Char('\n') + typedText(rng);
        a.a = int(rng() % 3); // 0 at the end, 1 over the selected text, 2 into a cleared field
        a.b = int(rng() % 2); // then 0 nothing, 1 Tab
    } else if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
        a.verb = r < 85 ? QStringLiteral("row") : QStringLiteral("dblrow");
        const int rows = view->model() ? view->model()->rowCount(view->rootIndex()) : 0;
        a.a = int(rng() % unsigned(std::max(1, rows + 1)));
        a.b = int(rng() % 4);
    } else if (qobject_cast<ColorSwatch *>(w)) {
        // A background colour: the colour dialog, answered by the dialogs.
        a.verb = QStringLiteral("swatch");
    } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
        a.verb = QStringLiteral("tab");
        a.a = int(rng() % unsigned(std::max(1, tabs->count())));
    } else if (auto *page = qobject_cast<PreviewPageView *>(w)) {
        a.verb = r < 70 ? QStringLiteral("drag") : QStringLiteral("pclick");
        a.a = int(rng() % unsigned(std::max<qsizetype>(1, page->boxes().size())));
        a.b = int(rng() % 161) - 80;
        a.c = int(rng() % 161) - 80;
        if (a.verb == QLatin1String("pclick")) {
            a.b = int(rng() % unsigned(std::max(1, page->width())));
            a.c = int(rng() % unsigned(std::max(1, page->height())));
        }
    }
    return a;
}

RobotAction RobotSession::choose(std::mt19937 &rng)
{
    const QList<QWidget *> windows = robotWindows();
    RobotAction a;
    a.sub = rng();
    if (windows.isEmpty()) {
        a.verb = QStringLiteral("show");
        return a;
    }
    QWidget *window = windows[int(rng() % unsigned(windows.size()))];
    a.window = idOf(window);
    const int r = int(rng() % 100);
    if (r < 8) {
        a.verb = QStringLiteral("key");
        const RobotKey &k = kKeys[rng() % std::size(kKeys)];
        a.a = k.key;
        a.b = k.mods;
        return a;
    }
    if (r < 10) {
        a.verb = QStringLiteral("close");
        return a;
    }
    if (r < 15 && window == m_window.get()) {
        QList<QAction *> items;
        for (QAction *menu : m_window->menuBar()->actions())
            if (menu->menu())
                for (QAction *item : menu->menu()->actions())
                    if (!item->isSeparator() && !item->objectName().isEmpty())
                        items.append(item);
        if (!items.isEmpty()) {
            a.verb = QStringLiteral("menu");
            a.target = items[int(rng() % unsigned(items.size()))]->objectName();
            return a;
        }
    }
    if (r < 17) {
        a.verb = QStringLiteral("reopen");
        a.window.clear();
        return a;
    }
    const QList<QWidget *> controls = candidates(window);
    if (controls.isEmpty()) {
        a.verb = QStringLiteral("close");
        return a;
    }
    return actionFor(window, controls[int(rng() % unsigned(controls.size()))], rng);
}

// ---- Running ---------------------------------------------------------------------

void RobotSession::settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QString RobotSession::perform(const RobotAction &action, int index, bool last)
{
    m_sub.seed(action.sub);
    m_failures.clear();
    robotActionStarted(index);
    run(action);
    settle();
    robotActionFinished();
    // Pictures read in the background: the window went on meanwhile; the
    // checks look at the page drawn once they are in.
    for (int i = 0; i < 8 && m_window->picturesLoading(); ++i) {
        m_window->waitForPictures();
        settle();
    }
    ++m_actions;
    if (!m_failures.isEmpty())
        return m_failures.first();
    for (QString (RobotSession::*check)() const :
        { &RobotSession::checkControls, &RobotSession::checkEnabled }) {
        const QString failure = (this->*check)();
        if (!failure.isEmpty())
            return failure;
    }
    if (m_typedField && m_typedField->window()->focusWidget() != m_typedField)
        m_typedField.clear();
    if (m_settings.checkPreview && !m_typedField) {
        const QString failure = checkPreview();
        if (!failure.isEmpty())
            return failure;
    }
    if (last || (m_settings.roundTripEvery > 0 && m_actions % m_settings.roundTripEvery == 0))
        return checkRoundTrip();
    return QString();
}

void RobotSession::run(const RobotAction &action)
{
    if (action.verb == QLatin1String("show")) {
        if (robotWindows().isEmpty())
            m_window->show();
        return;
    }
    if (action.verb == QLatin1String("reopen")) {
        saveAndReopen();
        return;
    }
    QWidget *window = findWindow(action.window);
    if (!window)
        return; // not open now: the action does nothing
    QApplication::setActiveWindow(window);
    if (action.verb == QLatin1String("close")) {
        window->close();
        settle();
        // The program ends with its main window; the robot starts it again.
        if (!m_window->isVisible() && robotWindows().isEmpty())
            m_window->show();
        return;
    }
    if (action.verb == QLatin1String("menu")) {
        if (window != m_window.get())
            return;
        for (QAction *item : m_window->findChildren<QAction *>(action.target))
            if (item->isEnabled() && item->isVisible()) {
                item->trigger();
                break;
            }
        if (!m_window->isVisible() && robotWindows().isEmpty())
            m_window->show();
        return;
    }
    if (action.verb == QLatin1String("key")) {
        QWidget *focus = QApplication::focusWidget();
        QWidget *target = focus && focus->window() == window ? focus : window;
        QTest::keyClick(target, Qt::Key(action.a), Qt::KeyboardModifiers(action.b));
        return;
    }
    QWidget *w = findTarget(window, action.target);
    if (!w || !w->isVisible() || !w->isEnabled())
        return;
    runOn(window, w, action);
}

void RobotSession::runOn(QWidget *window, QWidget *w, const RobotAction &action)
{
    const QString &verb = action.verb;
    const bool checkable = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w);
    if (verb == QLatin1String("click")) {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier,
            checkable ? QPoint(8, w->height() / 2) : w->rect().center());
    } else if (verb == QLatin1String("toggle") || verb == QLatin1String("press")) {
        QAccessibleActionInterface *actions = accessibleActions(w);
        const QString name = verb == QLatin1String("toggle") ? QAccessibleActionInterface::toggleAction()
                                                             : QAccessibleActionInterface::pressAction();
        if (!actions || !actions->actionNames().contains(name))
            return;
        auto *button = qobject_cast<QAbstractButton *>(w);
        std::unique_ptr<QSignalSpy> clicked;
        if (button && name == QAccessibleActionInterface::pressAction())
            clicked = std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
        actions->doAction(name);
        // "press" clicks a moment later. Waiting runs no event loop of its
        // own, so that a window the click opens is seen as the user sees it.
        for (int waited = 0; clicked && clicked->isEmpty() && waited < 1000; waited += 10)
            QTest::qWait(10);
    } else if (auto *swatch = qobject_cast<ColorSwatch *>(w); swatch && verb == QLatin1String("swatch")) {
        swatch->press();
    } else if (auto *combo = qobject_cast<QComboBox *>(w); combo && verb == QLatin1String("combo")) {
        if (combo->count() == 0)
            return;
        const int index = action.a % combo->count();
        combo->setFocus();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
        Q_EMIT combo->textActivated(combo->itemText(index));
    } else if (auto *lines = qobject_cast<QPlainTextEdit *>(w); lines && verb == QLatin1String("lines")) {
        window->activateWindow();
        lines->setFocus();
        if (action.a >= 1)
            QTest::keyClick(lines, Qt::Key_A, Qt::ControlModifier);
        if (action.a == 2)
            QTest::keyClick(lines, Qt::Key_Delete);
        const QStringList parts = action.text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                QTest::keyClick(lines, Qt::Key_Return);
            if (parts[i].size() <= 12) {
                for (QChar ch : parts[i])
                    QTest::sendKeyEvent(QTest::Click, lines, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(parts[i]);
                QApplication::sendEvent(lines, &commit);
            }
        }
        if (action.b == 1)
            QTest::keyClick(lines, Qt::Key_Tab);
        else
            m_typedField = lines;
    } else if (verb == QLatin1String("type")) {
        window->activateWindow();
        w->setFocus();
        QWidget *input = w;
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(w))
            input = spin->findChild<QLineEdit *>();
        auto *edit = qobject_cast<QLineEdit *>(input);
        if (!edit)
            return;
        if (action.a == 1)
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (action.a == 2) {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        if (action.text.size() <= 12 || !edit->testAttribute(Qt::WA_InputMethodEnabled)) {
            // A field that takes no input method (read-only) gets keys only.
            if (action.text.size() > 12)
                return;
            for (QChar ch : action.text)
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        } else {
            // Long and composed text arrives as an input method commits it.
            QInputMethodEvent commit;
            commit.setCommitString(action.text);
            QApplication::sendEvent(edit, &commit);
        }
        if (action.b == 1)
            QTest::keyClick(edit, Qt::Key_Return);
        else if (action.b == 2)
            QTest::keyClick(edit, Qt::Key_Tab);
        else
            m_typedField = edit;
    } else if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
        QAbstractItemModel *model = view->model();
        if (!model)
            return;
        const int rows = model->rowCount(view->rootIndex());
        const int cols = std::max(1, model->columnCount(view->rootIndex()));
        if (rows == 0 || action.a >= rows) {
            // Below the last row: empty space.
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                QPoint(4, view->viewport()->height() - 3));
            return;
        }
        const QModelIndex index = model->index(action.a, action.b % cols, view->rootIndex());
        view->scrollTo(index);
        const QRect rect = view->visualRect(index);
        if (!rect.isValid())
            return;
        if (verb == QLatin1String("dblrow"))
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
        if (tabs->count() > 0)
            QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier,
                tabs->tabRect(action.a % tabs->count()).center());
    } else if (auto *page = qobject_cast<PreviewPageView *>(w)) {
        if (verb == QLatin1String("pclick")) {
            QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier,
                QPoint(action.b % std::max(1, page->width()), action.c % std::max(1, page->height())));
            return;
        }
        const QList<PartBox> &boxes = page->boxes();
        const QPoint from = boxes.isEmpty()
            ? page->rect().center()
            : page->toWidget(boxes[action.a % boxes.size()].bounds).center();
        const QPoint to = from + QPoint(action.b, action.c);
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(page, (from + to) / 2);
        QTest::mouseMove(page, to);
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, to);
    }
}

// ---- Modal windows -----------------------------------------------------------------

void RobotSession::noteFailure(const QString &text)
{
    m_failures.append(text);
}

void RobotSession::pollModals()
{
    std::weak_ptr<bool> alive = m_alive;
    // A new timer each time, so that the next poll also runs inside a modal
    // loop that this one opens.
    QTimer::singleShot(2, [this, alive] {
        if (!alive.expired())
            pollModals();
    });
    if (QThread::currentThread()->loopLevel() == 0)
        return; // no modal loop runs
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog || m_driven.contains(dialog) || !dialog->isVisible())
        return;
    if (qobject_cast<QMessageBox *>(dialog)) {
        noteFailure(QStringLiteral("modal|a message box outside the dialogs interface: ")
            + static_cast<QMessageBox *>(dialog)->text());
        dialog->reject();
        return;
    }
    if (m_driving == 0) {
        noteFailure(QStringLiteral("modal|a modal window the robot did not open: %1 \"%2\"")
                        .arg(QLatin1String(dialog->metaObject()->className()), dialog->windowTitle()));
        dialog->reject();
        return;
    }
    driveModal(dialog);
}

void RobotSession::driveModal(QDialog *dialog, const std::function<void()> &specific)
{
    m_driven.insert(dialog);
    ++m_driving;
    QPointer<QDialog> d(dialog);
    if (specific)
        specific();
    else
        actInside(dialog, pick(5));
    if (d && d->isVisible() && pick(2) == 0)
        d->accept();
    if (d && d->isVisible())
        d->reject();
    --m_driving;
    m_driven.remove(dialog);
}

void RobotSession::actInside(QWidget *window, int count)
{
    QPointer<QWidget> w(window);
    for (int i = 0; i < count && w && w->isVisible(); ++i) {
        const QList<QWidget *> controls = candidates(w);
        if (controls.isEmpty())
            return;
        QWidget *target = controls[pick(int(controls.size()))];
        const RobotAction a = actionFor(w, target, m_sub);
        // Typing long texts into a dialog's list filter is slow and says
        // nothing new: dialogs get the short texts.
        if (a.verb == QLatin1String("type") && a.text.size() > 100)
            continue;
        runOn(w, target, a);
        QCoreApplication::processEvents();
    }
}
