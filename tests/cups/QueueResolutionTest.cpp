#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <cups/cups.h>

#include "ui/MainWindowHarness.h"
#include "render/ui/QtPrinterBackend.h"
#include "render/ui/QueueResolution.h"

using namespace cw;

namespace {

// A CUPS server of this test's own (its configuration, spool and socket in
// a temporary folder) with two queues: "Res600", whose PPD prints at 600 dpi
// unless asked for 300, and "Raw", which states no resolution. Every CUPS
// call of the test process goes to it; it is stopped by its process id.
class PrivateCups
{
public:
    PrivateCups()
    {
        work = dir.filePath(QStringLiteral("cups"));
        server.setProcessChannelMode(QProcess::ForwardedChannels);
        server.start(QStringLiteral("bash"),
            { QStringLiteral(CASEWRIGHT_SOURCE_DIR "/tests/cups/start_cupsd.sh"), work });
        const QString socket = work + QStringLiteral("/run/cups.sock");
        // cupsd takes about 0.2 s to listen; the deadline only ends a hang.
        const QDeadlineTimer deadline(60000);
        while (!QFileInfo::exists(socket) && !deadline.hasExpired()
            && server.state() != QProcess::NotRunning)
            QThread::msleep(20);
        started = QFileInfo::exists(socket);
        const QByteArray name = socket.toLocal8Bit();
        qputenv("CUPS_SERVER", name);
        cupsSetServer(name.constData());
        addQueue({ "-p", "Res600", "-E", "-v", "file:/dev/null", "-P",
            CASEWRIGHT_SOURCE_DIR "/tests/cups/test-600dpi.ppd" });
        addQueue({ "-p", "Raw", "-E", "-v", "file:/dev/null", "-m", "raw" });
    }
    ~PrivateCups()
    {
        server.terminate();
        server.waitForFinished(30000);
        cupsSetServer(nullptr);
        qunsetenv("CUPS_SERVER");
    }
    void addQueue(const QStringList &args)
    {
        QProcess lpadmin;
        lpadmin.start(QFileInfo::exists("/usr/sbin/lpadmin") ? "/usr/sbin/lpadmin" : "lpadmin", args);
        lpadmin.waitForFinished(60000);
        queuesAdded = queuesAdded && lpadmin.exitCode() == 0;
    }
    // The document of the n-th job that reached the queues.
    QString jobFile(int n) const
    {
        return work + QStringLiteral("/spool/d%1-001").arg(n, 5, 10, QLatin1Char('0'));
    }

    QTemporaryDir dir;
    QString work;
    QProcess server;
    bool started = false;
    bool queuesAdded = true;
};

int pdfPages(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), { path });
    p.waitForFinished(60000);
    const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)\\n")
                                          .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

std::unique_ptr<QPrinter> printerOn(const char *queue)
{
    return std::make_unique<QPrinter>(
        QPrinterInfo::printerInfo(QLatin1String(queue)), QPrinter::HighResolution);
}

} // namespace

// A queue's resolution: the job's chosen Resolution option first, then the
// queue's default (its PPD's DefaultResolution); a raw queue states none.
TEST(QueueResolution, TheQueueStatesItsOwnResolution)
{
    PrivateCups cups;
    ASSERT_TRUE(cups.started);
    ASSERT_TRUE(cups.queuesAdded);
    EXPECT_EQ(queueResolution("Res600", QString()), (PrinterResolution { 600, 600 }));
    EXPECT_EQ(queueResolution("Res600", "300dpi"), (PrinterResolution { 300, 300 }));
    EXPECT_EQ(queueResolution("Raw", QString()), std::nullopt);
    EXPECT_EQ(queueResolution("NoSuchQueue", QString()), std::nullopt);

    // The printer draws at the queue's resolution, or at the one chosen in
    // the print dialog's properties; a raw queue keeps Qt's.
    QtPrinterBackend res600(printerOn("Res600"));
    int x = 0, y = 0;
    ASSERT_TRUE(res600.queryResolution(x, y));
    EXPECT_EQ(x, 600);
    EXPECT_EQ(y, 600);
    EXPECT_EQ(res600.printer()->resolution(), 600);
    res600.printer()->printEngine()->setProperty(
        QPrintEngine::PrintEnginePropertyKey(0xfe00), QStringList({ "Resolution", "300dpi" }));
    ASSERT_TRUE(res600.queryResolution(x, y));
    EXPECT_EQ(x, 300);
    EXPECT_EQ(res600.printer()->logicalDpiX(), 300);
    QtPrinterBackend raw(printerOn("Raw"));
    ASSERT_TRUE(raw.queryResolution(x, y));
    EXPECT_EQ(x, 1200);
}

// The main window on a 600-dpi queue refers the document to 600 dpi, and a
// print of "2 to 2" sends the back page alone; copies are the queue's to make.
TEST(QueueResolution, TheWindowTakesTheQueuesResolutionAndItsRange)
{
    PrivateCups cups;
    ASSERT_TRUE(cups.started);
    ASSERT_TRUE(cups.queuesAdded);
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    printerState() = PrinterState();
    QtPrinterBackend queue(printerOn("Res600"));
    ScriptedDialogs dialogs;
    RecordingRefresher refresher;
    SilentProgress progress;
    auto window = std::make_unique<TMainWindow>();
    window->setDialogs(&dialogs);
    window->setPreviewRefresher(&refresher);
    window->setPrinterBackend(&queue);
    window->setProgressWindow(&progress);
    window->show();
    QCoreApplication::processEvents();
    window->aboutBox()->close();
    EXPECT_EQ(window->document().dpiX, 600);
    EXPECT_EQ(window->findChild<QLabel *>("Xdpi")->text(), QStringLiteral("600dpi"));

    dialogs.printAnswer = [](QPrinter &p) {
        p.setPrintRange(QPrinter::PageRange);
        p.setFromTo(2, 2);
        return true;
    };
    window->PrintStartClick();
    dialogs.printAnswer = [](QPrinter &p) {
        p.setCopyCount(2);
        return true;
    };
    window->PrintStartClick();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    EXPECT_EQ(pdfPages(cups.jobFile(1)), 1);
    EXPECT_EQ(pdfPages(cups.jobFile(2)), 2);

    dialogs.confirmAnswer = true;
    window.reset();
    printerState() = PrinterState();
}
