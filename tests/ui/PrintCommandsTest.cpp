#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>

#include "AccessibleActions.h"
#include "MainWindowHarness.h"
#include "render/ui/QtPrintTarget.h"
#include "render/ui/QtPrinterBackend.h"

using namespace cw;

namespace {

// The PDF printer at 300 dpi, the printer of a machine without one: the
// same on every machine the tests run on.
std::unique_ptr<QPrinter> pdfPrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(300);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

QString run(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    const QRegularExpressionMatch m
        = QRegularExpression("Pages:\\s+(\\d+)\\n").match(run("pdfinfo", { path }));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfText(const QString &path)
{
    return run("pdftotext", { path, "-" }).remove(QRegularExpression("\\s"));
}

// The text of each page of a PDF file, without white space.
QStringList pdfPageTexts(const QString &path)
{
    QStringList pages;
    for (int page = 1; page <= pdfPages(path); ++page)
        pages << run("pdftotext", { "-f", QString::number(page), "-l", QString::number(page), path,
                                      "-" })
                     .remove(QRegularExpression("\\s"));
    return pages;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The main window printing through Qt's printer, with the print dialog
// played by the test: a PDF file of the name given, or a cancel.
class PrintCommandsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->setPrinterBackend(&qtPrinter);
    }
    // The user chooses the PDF file target and types `path` as its name.
    void answerPdf(const QString &path)
    {
        dialogs.printAnswer = [path](QPrinter &p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(path);
            return true;
        };
    }
    QString file(const char *name) { return configDir.filePath(QLatin1String(name)); }

    QtPrinterBackend qtPrinter { pdfPrinter() };
};

} // namespace

// After the pages went into a PDF file, the calibration sheet asks the print
// dialog again (for one page): a cancel writes nothing, another name gets the
// sheet alone, and the printed pages stay as they were.
TEST_F(PrintCommandsTest, TheCalibrationSheetAsksWhereToPrintAndLeavesTheLastPdfAlone)
{
    answerPdf(file("cover.pdf"));
    click("PrintStart");
    ASSERT_EQ(pdfPages(file("cover.pdf")), 2);
    const QByteArray printed = bytesOf(file("cover.pdf"));

    dialogs.printAnswer = nullptr;
    click("CalibrationPrint");
    EXPECT_EQ(dialogs.printPageCounts, QList<int>({ 2, 1 }));
    EXPECT_TRUE(bytesOf(file("cover.pdf")) == printed);

    answerPdf(file("sheet.pdf"));
    click("CalibrationPrint");
    EXPECT_EQ(dialogs.printPageCounts, QList<int>({ 2, 1, 1 }));
    EXPECT_EQ(pdfPages(file("sheet.pdf")), 1);
    EXPECT_TRUE(pdfText(file("sheet.pdf")).contains(QStringLiteral("左端から20.0mm")));
    EXPECT_TRUE(bytesOf(file("cover.pdf")) == printed);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
}

// The disc's sheet goes where its print dialog says, like the other one.
TEST_F(PrintCommandsTest, TheDiscCalibrationSheetPrintsItsCirclesWithItsCaption)
{
    answerPdf(file("disc.pdf"));
    click("DiscCalibrationPrint");
    EXPECT_EQ(dialogs.printPageCounts, QList<int>({ 1 }));
    const QString text = pdfText(file("disc.pdf"));
    EXPECT_TRUE(text.contains(QStringLiteral("ディスク用"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("左端から20.0mm")));
}

// Every label box can be unticked, however it changes: the settings keep
// the mask of none and the print has no disc page; ticking one brings it back.
TEST_F(PrintCommandsTest, AUsedUpSheetLeavesTheDiscPageOutOfThePrint)
{
    click("DiscLabelPrint");
    auto *stock = find<QComboBox>("DiscStock");
    reveal(stock);
    stock->setCurrentIndex(7); // the sheet of three labels
    click("DiscLabel1");
    find<QCheckBox>("DiscLabel2")->setChecked(false);
    toggleByAction(find<QCheckBox>("DiscLabel3"));
    EXPECT_FALSE(checked("DiscLabel1") || checked("DiscLabel2") || checked("DiscLabel3"));
    EXPECT_EQ(QSettings().value(QStringLiteral("DiscLabels")).toUInt(), ~7u);
    answerPdf(file("used-up.pdf"));
    click("PrintStart");
    EXPECT_EQ(dialogs.printPageCounts, QList<int>({ 2 }));
    EXPECT_EQ(pdfPages(file("used-up.pdf")), 2);

    click("DiscLabel2");
    answerPdf(file("one-label.pdf"));
    click("PrintStart");
    EXPECT_EQ(dialogs.printPageCounts, QList<int>({ 2, 3 }));
    EXPECT_EQ(pdfPages(file("one-label.pdf")), 3);
}

// A calibration sheet that cannot begin (before any print, the dialog
// confirmed without a file, or with a file in a folder that does not exist)
// says so once; the next print then goes where its dialog says.
TEST_F(PrintCommandsTest, ASheetThatCannotBeginLeavesPrintingWorking)
{
    dialogs.printAnswer = [](QPrinter &) { return true; };
    click("CalibrationPrint");
    answerPdf(file("missing/sheet.pdf"));
    click("CalibrationPrint");
    EXPECT_EQ(dialogs.messages,
        QStringList({ QStringLiteral("印刷を開始できません"), QStringLiteral("印刷を開始できません") }));

    answerPdf(file("cover.pdf"));
    click("PrintStart");
    EXPECT_EQ(pdfPages(file("cover.pdf")), 2);
    answerPdf(file("sheet.pdf"));
    click("CalibrationPrint");
    EXPECT_EQ(pdfPages(file("sheet.pdf")), 1);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

// A job whose painter could not begin leaves Qt's printer active, refusing
// every change; the backend then gives a fresh printer with the same choices.
TEST(QtPrinterBackend, APrinterLeftActiveIsReplacedKeepingItsSettings)
{
    auto stuck = pdfPrinter();
    stuck->setPageSize(QPageSize(QPageSize::A5));
    stuck->setCopyCount(3);
    {
        QPainter painter;
        EXPECT_FALSE(painter.begin(stuck.get())); // a PDF printer without a file
    }
    QtPrinterBackend backend(std::move(stuck));
    ASSERT_EQ(backend.printer()->printerState(), QPrinter::Active);
    EXPECT_TRUE(backend.releaseFailedJob());
    QPrinter &fresh = *backend.printer();
    EXPECT_NE(fresh.printerState(), QPrinter::Active);
    EXPECT_EQ(fresh.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(fresh.resolution(), 300);
    EXPECT_EQ(fresh.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(fresh.copyCount(), 3);
    fresh.setOutputFileName(QStringLiteral("/tmp/chosen.pdf"));
    EXPECT_EQ(fresh.outputFileName(), QStringLiteral("/tmp/chosen.pdf"));
    // A printer that is idle is kept.
    EXPECT_FALSE(backend.releaseFailedJob());
    EXPECT_EQ(backend.printer(), &fresh);
}

// A document whose pages say which they are.
void nameThePages(LabelDocument &doc)
{
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("FrontPage");
    doc.bottom.title.use = true;
    doc.bottom.title.text = QStringLiteral("BackPage");
}

// Copies mean the same in a PDF file as on a printer: two copies of the two
// pages are four pages, collated or each page's copies together; "2 to 2"
// is the back page alone.
TEST_F(PrintCommandsTest, CopiesAndThePageRangeReachAPdfFile)
{
    nameThePages(window->document());
    auto answer = [this](const char *name, int copies, bool collate, int from, int to) {
        dialogs.printAnswer = [path = file(name), copies, collate, from, to](QPrinter &p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(path);
            p.setCopyCount(copies);
            p.setCollateCopies(collate);
            if (from > 0) {
                p.setPrintRange(QPrinter::PageRange);
                p.setFromTo(from, to);
            }
            return true;
        };
    };
    answer("collated.pdf", 2, true, 0, 0);
    click("PrintStart");
    EXPECT_EQ(pdfPageTexts(file("collated.pdf")),
        QStringList({ "FrontPage", "BackPage", "FrontPage", "BackPage" }));
    answer("together.pdf", 2, false, 0, 0);
    click("PrintStart");
    EXPECT_EQ(pdfPageTexts(file("together.pdf")),
        QStringList({ "FrontPage", "FrontPage", "BackPage", "BackPage" }));
    answer("back.pdf", 1, true, 2, 2);
    click("PrintStart");
    EXPECT_EQ(pdfPageTexts(file("back.pdf")), QStringList({ "BackPage" }));
    answer("front.pdf", 1, true, 1, 1);
    click("PrintStart");
    EXPECT_EQ(pdfPageTexts(file("front.pdf")), QStringList({ "FrontPage" }));
    // The next job starts with every page again.
    answer("both.pdf", 1, true, 0, 0);
    click("PrintStart");
    EXPECT_EQ(pdfPageTexts(file("both.pdf")), QStringList({ "FrontPage", "BackPage" }));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
}

// Paper too small for the front page with its trim marks (A5) prints
// nothing and says which paper the page needs.
TEST_F(PrintCommandsTest, PaperTooSmallForTheSheetPrintsNothing)
{
    dialogs.printAnswer = [path = file("a5.pdf")](QPrinter &p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(path);
        p.setPageSize(QPageSize(QPageSize::A5));
        return true;
    };
    click("PrintStart");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral(
        "表レーベルがトンボを含めて用紙に収まりません。印刷できる範囲が横272.0mm×縦149.5mm以上")))
        << dialogs.messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(file("a5.pdf")));
}

// The printer setup offers what printing offers, the PDF file target too
// (also with no printer installed), and its button says it confirms a choice.
TEST(PrintDialogs, ThePrinterSetupListsThePdfTargetAndConfirmsWithOk)
{
    auto printer = pdfPrinter();
    const std::unique_ptr<QPrintDialog> setup = makePrinterSetupDialog(*printer, nullptr);
    setup->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(setup->windowTitle(), QStringLiteral("プリンタ設定"));
    auto *targets = setup->findChild<QComboBox *>(QStringLiteral("printers"));
    ASSERT_NE(targets, nullptr);
    EXPECT_GE(targets->findText(QCoreApplication::translate("QPrintDialog", "Print to File (PDF)")),
        0);
    auto *buttons = setup->findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    setup->reject();
}

// The print dialog offers a range of the job's pages when it has more than
// one.
TEST(PrintDialogs, ThePrintDialogOffersTheJobsPages)
{
    auto printer = pdfPrinter();
    const std::unique_ptr<QPrintDialog> two = makePrintDialog(*printer, 2, nullptr);
    EXPECT_TRUE(two->testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_TRUE(two->testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_EQ(two->minPage(), 1);
    EXPECT_EQ(two->maxPage(), 2);
    const std::unique_ptr<QPrintDialog> one = makePrintDialog(*printer, 1, nullptr);
    EXPECT_FALSE(one->testOption(QAbstractPrintDialog::PrintPageRange));
}
