#include "TestSupport.h"

#include <csignal>
#include <sys/resource.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "text/Cp932.h"

using namespace cw;

QByteArray sjis(const QString &text)
{
    return cp932::encode(text).bytes;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray largeRleBmp()
{
    QByteArray b(62, '\0');
    auto put = [&b](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xff);
    };
    // Two runs of colour 1, an end of line, the end of the picture.
    const QByteArray data("\xff\x01\x40\x01\x00\x00\x00\x01", 8);
    b[0] = 'B';
    b[1] = 'M';
    put(2, quint32(b.size() + data.size()));
    put(10, quint32(b.size()));
    put(14, 40);
    put(18, 6000);
    put(22, 5000);
    b[26] = 1; // planes
    b[28] = 8; // bits per pixel
    b[30] = 1; // RLE8
    put(34, quint32(data.size()));
    put(46, 2); // colours in the palette
    put(58, 0x00336699);
    return b + data;
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(data) == data.size();
}

QProcessEnvironment englishLocale()
{
    QProcessEnvironment english;
    english.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    return english;
}

QProcessEnvironment withLocale(QProcessEnvironment env, const QProcessEnvironment &locale)
{
    for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" })
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(locale);
    return env;
}

CliResult runCasewrightCli(
    const QStringList &args, const QString &configHome, const QProcessEnvironment &locale)
{
    static QTemporaryDir runtime;
    QProcess p;
    QProcessEnvironment env = withLocale(QProcessEnvironment::systemEnvironment(), locale);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!configHome.isEmpty())
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CASEWRIGHT_BIN_DIR "/casewright-cli"), args);
    p.waitForFinished(120000);
    CliResult r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.rawOut = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.rawOut);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

namespace {
bool runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

bool makeSilentAudio(const QString &path, double seconds)
{
    const QString wav
        = path.endsWith(QLatin1String(".wav")) ? path : path + QStringLiteral(".tmp.wav");
    if (!runTool(QStringLiteral("sox"),
            { "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "trim", "0",
                QString::number(seconds) }))
        return false;
    bool ok = true;
    if (path.endsWith(QLatin1String(".flac")))
        ok = runTool(QStringLiteral("flac"), { "-s", "-f", "-o", path, wav });
    else if (path.endsWith(QLatin1String(".ogg")))
        ok = runTool(QStringLiteral("oggenc"), { "-Q", "-o", path, wav });
    else if (path.endsWith(QLatin1String(".opus")))
        ok = runTool(QStringLiteral("opusenc"), { "--quiet", wav, path });
    if (wav != path)
        QFile::remove(wav);
    return ok;
}

FullDiskAfter::FullDiskAfter(unsigned long bytes)
{
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_oldCurrent = limit.rlim_cur;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FullDiskAfter::~FullDiskAfter()
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_oldCurrent;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}
