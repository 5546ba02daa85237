#include <gtest/gtest.h>

#include "TestSupport.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "document/DocumentFile.h"
#include "document/LabelDocument.h"

using namespace cw;

// Prints through Qt to a private CUPS server started for this test (its own
// configuration, spool and socket under a temporary folder) and checks the
// job that reached the queue. The script stops the server by its process id.
TEST(CupsPrint, ATwoPageJobReachesAPrivateQueue)
{
    QTemporaryDir dir;
    LabelDocument doc;
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("FrontCoverTitle");
    doc.bottom.title.use = true;
    doc.bottom.title.text = QStringLiteral("BackLabelTitle");
    const QString path = dir.filePath(QStringLiteral("doc.cwr"));
    NullMessageSink quiet;
    ASSERT_TRUE(saveDocument(doc, path, quiet));

    {
        // The printer's own correction, which the calibration sheet then carries.
        QSettings s(dir.filePath("Tessellane/Casewright.conf"), QSettings::IniFormat);
        s.setValue("PrintCorrection/Printers/CasewrightTest", "2.0,-1.5");
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.path());
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("bash"),
        { QStringLiteral(CASEWRIGHT_SOURCE_DIR "/tests/cups/print_through_cups.sh"),
            QStringLiteral(CASEWRIGHT_BIN_DIR "/casewright-cli"), path, dir.filePath("cups"),
            "FrontCoverTitle", "BackLabelTitle" });
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString output = QString::fromUtf8(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("ok: the job title is Casewright")) << output.toStdString();
    EXPECT_TRUE(output.contains("ok: the front page comes first")) << output.toStdString();
    EXPECT_TRUE(output.contains("ok: the sheet carries its printer's correction"))
        << output.toStdString();
}
