#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "render/CalibrationSheet.h"
#include "render/PageOutput.h"
#include "render/PrintDocument.h"

using namespace cw;

namespace {

class AnyPrinter : public PrinterBackend
{
public:
    bool queryResolution(int &x, int &y) override
    {
        x = 600;
        y = 300;
        return true;
    }
};

// A job on a recording canvas of 600 x 300 dpi, printing to "Office".
class RecordingTarget : public PrintTarget
{
public:
    bool showPrintDialog(int) override { return true; }
    void setLandscape() override { }
    bool begin(const QString &) override { return true; }
    bool newPage() override
    {
        pages << recording.lines();
        recording.clear();
        return true;
    }
    bool end() override
    {
        pages << recording.lines();
        return true;
    }
    LabelCanvas &canvas() override { return recording; }
    int resolutionX() const override { return 600; }
    int resolutionY() const override { return 300; }
    int printableWidth() const override { return 6816; }
    int printableHeight() const override { return 2380; }
    PrintDevice device() const override { return PrintDevice::printer("Office"); }
    QRect paperRect() const override { return QRect(-100, -50, 7016, 2480); }

    RecordingCanvas recording { 600, 300 };
    QList<QStringList> pages;
};

// Every number of a recorded call that is a coordinate, moved by (dx, dy).
QString moved(const QString &line, int dx, int dy)
{
    QStringList f = line.split(' ');
    auto shift = [&](int from, int count) {
        for (int i = from; i < from + count; i += 2) {
            f[i] = QString::number(f[i].toInt() + dx);
            f[i + 1] = QString::number(f[i + 1].toInt() + dy);
        }
    };
    if (f[0] == "Rectangle" || f[0] == "DrawTextInRect" || f[0].startsWith("StretchPicture"))
        shift(1, 4);
    else if (f[0] == "MoveTo" || f[0] == "LineTo")
        shift(1, 2);
    else if (f[0] == "TextOutClipped")
        shift(1, 6);
    return f.join(' ');
}

QList<QStringList> printWith(const PrintCorrection *correction, const QList<PrintDevice> &asked)
{
    LabelDocument doc = emptyDocument(300);
    doc.top.title.use = true;
    doc.top.title.text = "Title";
    RecordingTarget target;
    QList<PrintDevice> seen;
    if (correction)
        target.setCorrectionLookup([&](const PrintDevice &d) {
            seen << d;
            return *correction;
        });
    AnyPrinter printer;
    RecordingMessages messages;
    RecordingProgress progress;
    PrinterState state;
    PrintOptions o;
    EXPECT_EQ(PrintDocument(
                  target, printer, o,
                  [&](LabelCanvas &c, PreviewPage p, int x, int y, int w, int h) {
                      drawDocumentPage(c, doc, o, p, x, y, w, h);
                  },
                  messages, progress, state),
        PrintResult::Printed);
    EXPECT_EQ(seen, asked);
    return target.pages;
}

} // namespace

// The correction of the job's device moves every call of both sheets by the
// correction in device pixels, each axis at its own resolution.
TEST(PrintPositionCorrection, EverySheetMovesAsAWhole)
{
    const QList<QStringList> plain = printWith(nullptr, {});
    const PrintCorrection zero {};
    EXPECT_EQ(printWith(&zero, { PrintDevice::printer("Office") }), plain);
    const PrintCorrection c { 20, -15 }; // 2.0 mm right, 1.5 mm up
    const QList<QStringList> shifted = printWith(&c, { PrintDevice::printer("Office") });
    ASSERT_EQ(shifted.size(), 2);
    ASSERT_EQ(plain.size(), 2);
    for (int page = 0; page < 2; ++page) {
        ASSERT_EQ(shifted[page].size(), plain[page].size());
        for (int i = 0; i < plain[page].size(); ++i)
            EXPECT_EQ(shifted[page][i], moved(plain[page][i], 47, -18));
    }
}

// The crosses lie at 20 mm from each edge of the paper, which may reach past
// the printable area, and at its centre; each says so.
TEST(CalibrationSheet, CrossesLieAtTheirStatedDistancesFromThePaperEdges)
{
    const QRect paper(-100, -50, 7016, 2480); // A4 landscape at 600 x 300 dpi
    const QList<CalibrationCross> crosses = calibrationCrosses(600, 300, paper);
    ASSERT_EQ(crosses.size(), 5);
    const int dx = 472, dy = 236; // trunc(20 mm x pixels per mm)
    EXPECT_EQ(crosses[0].x, -100 + dx);
    EXPECT_EQ(crosses[0].y, -50 + 1240);
    EXPECT_EQ(crosses[1].x, -100 + 3508);
    EXPECT_EQ(crosses[1].y, -50 + dy);
    EXPECT_EQ(crosses[2].x, -100 + 7016 - dx);
    EXPECT_EQ(crosses[3].y, -50 + 2480 - dy);
    EXPECT_EQ(crosses[4].x, -100 + 3508);
    EXPECT_EQ(crosses[4].y, -50 + 1240);
    EXPECT_EQ(crosses[0].label, "左端から20.0mm");
    EXPECT_EQ(crosses[1].label, "上端から20.0mm");
    EXPECT_EQ(crosses[2].label, "右端から20.0mm");
    EXPECT_EQ(crosses[3].label, "下端から20.0mm");
    EXPECT_EQ(crosses[4].label, "左端から148.5mm・上端から105.0mm");
}

// The sheet is printed like a page: refused while the printer has failed,
// moved by its device's correction, with the correction written on it.
TEST(CalibrationSheet, PrintsOneSheetMovedByTheCorrection)
{
    RecordingTarget target;
    AnyPrinter printer;
    RecordingMessages messages;
    PrinterState failed;
    failed.printerFailed = true;
    EXPECT_EQ(PrintCalibrationSheet(target, printer, messages, failed), PrintResult::Refused);
    EXPECT_EQ(messages.messages, QStringList { kPrinterFailedPrintMessage });
    EXPECT_TRUE(target.pages.isEmpty());

    PrinterState state;
    target.setCorrectionLookup([](const PrintDevice &d) {
        return d == PrintDevice::printer("Office") ? PrintCorrection { -10, 5 }
                                                   : PrintCorrection {};
    });
    EXPECT_EQ(PrintCalibrationSheet(target, printer, messages, state), PrintResult::Printed);
    ASSERT_EQ(target.pages.size(), 1);
    const QStringList &ops = target.pages[0];
    // The left cross's vertical arm: four columns (0.2 mm at 600 dpi), 5 mm
    // up and down, moved 24 pixels left and 6 down.
    const int x = -100 + 472 - 24, y = -50 + 1240 + 6;
    EXPECT_TRUE(ops.contains(QStringLiteral("MoveTo %1 %2").arg(x - 2).arg(y - 59)));
    EXPECT_TRUE(ops.contains(QStringLiteral("LineTo %1 %2").arg(x + 1).arg(y + 60)));
    const QString text = ops.join('\n');
    EXPECT_TRUE(text.contains(calibrationInstructions()));
    EXPECT_TRUE(text.contains("Office　適用中の補正: 横 -1.0mm　縦 0.5mm"));
    for (const CalibrationCross &c : calibrationCrosses(600, 300, target.paperRect()))
        EXPECT_TRUE(text.contains(c.label)) << c.label.toStdString();
}

// A4 as Qt gives it: 3508 x 2479 pixels at 300 dpi (842 x 595 points, the
// height 209.9 mm), the paper 297 x 210 mm. The centre cross lies on the
// pixel nearest 148.5 and 105.0 mm and says so; each edge cross's label is
// its distance from the paper's real edge.
TEST(CalibrationSheet, EveryLabelStatesWhereItsCrossLies)
{
    const QList<CalibrationCross> a4
        = calibrationCrosses(300, 300, QRect(0, 0, 3508, 2479), QSizeF(297.0, 210.0));
    ASSERT_EQ(a4.size(), 5);
    EXPECT_EQ(a4[4].x, 1754); // 148.5 mm: 1753.97 pixels
    EXPECT_EQ(a4[4].y, 1240); // 105.0 mm: 1240.21
    EXPECT_EQ(a4[4].label, "左端から148.5mm・上端から105.0mm");
    EXPECT_EQ(a4[3].y, 2244); // 190.0 mm: 2244.18, 20.0 mm above the bottom edge
    const QStringList edges { "左端から20.0mm", "上端から20.0mm", "右端から20.0mm", "下端から20.0mm" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a4[i].label, edges[i]);
    // A5 landscape at 600 dpi: 210 x 148 mm, the centre 105.0 and 74.0 mm.
    const QList<CalibrationCross> a5
        = calibrationCrosses(600, 600, QRect(0, 0, 4960, 3500), QSizeF(210.0, 148.0));
    EXPECT_EQ(a5[4].x, 2480);
    EXPECT_EQ(a5[4].y, 1748); // 74.0 mm: 1748.1
    EXPECT_EQ(a5[4].label, "左端から105.0mm・上端から74.0mm");
}

// The sheet printed into an A4 PDF file at 300 dpi names the centre
// 105.0 mm from the top.
TEST(CalibrationSheet, ThePdfSheetNamesTheA4Centre)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    PdfPrintTarget target(path, 300);
    AnyPrinter printer;
    RecordingMessages messages;
    PrinterState state;
    ASSERT_EQ(PrintCalibrationSheet(target, printer, messages, state), PrintResult::Printed);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), { path, QStringLiteral("-") });
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString all = QString::fromUtf8(text.readAllStandardOutput()).remove(' ');
    EXPECT_TRUE(all.contains(QStringLiteral("上端から105.0mm"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("104.9mm"))) << all.toStdString();
}
