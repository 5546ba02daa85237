#include "InstallTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "TestSupport.h"

ProgramRun runProgram(const QString &program, const QStringList &args, const QString &configHome,
    const QString &workingFolder, const QProcessEnvironment &extra)
{
    QTemporaryDir emptyConfig;
    QProcessEnvironment env
        = withLocale(QProcessEnvironment::systemEnvironment(), QProcessEnvironment());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(
        QStringLiteral("XDG_CONFIG_HOME"), configHome.isEmpty() ? emptyConfig.path() : configHome);
    env.insert(QStringLiteral("XDG_DATA_HOME"), emptyConfig.path() + QStringLiteral("/data"));
    env.insert(extra);
    return runInEnvironment(program, args, env, workingFolder);
}

ProgramRun runInEnvironment(const QString &program, const QStringList &args,
    const QProcessEnvironment &env, const QString &workingFolder)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    p.start(program, args);
    ProgramRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish: ") + program;
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

const InstalledTree &InstalledTree::get()
{
    static std::unique_ptr<QTemporaryDir> folder;
    static const InstalledTree tree = [] {
        InstalledTree t;
        folder = std::make_unique<QTemporaryDir>();
        t.prefix = folder->path() + QStringLiteral("/prefix");
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CASEWRIGHT_CMAKE_COMMAND),
            { "--install", QStringLiteral(CASEWRIGHT_BUILD_DIR), "--prefix", t.prefix });
        const bool finished = install.waitForFinished(300000);
        t.log = QString::fromUtf8(install.readAll());
        t.ok = finished && install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0;
        return t;
    }();
    return tree;
}

QStringList InstalledTree::files() const
{
    QStringList out;
    QDirIterator it(
        prefix, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(prefix).relativeFilePath(it.next()));
    out.sort();
    return out;
}

QString installedTool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

std::string missingTool(const QString &name)
{
    return (name + QStringLiteral(" is missing; tools/setup.sh installs the package that has it"))
        .toStdString();
}

QString moduleFolder()
{
    return QStringLiteral(CASEWRIGHT_MODULEDIR);
}

QString buildVersion()
{
    return QStringLiteral(CASEWRIGHT_VERSION);
}

ReadmeCommandLine readmeCommandLine()
{
    QFile file(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/README.md"));
    ReadmeCommandLine result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("\n## Command line\n"));
    if (start < 0)
        return result;
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    const QString section = text.mid(start, end < 0 ? -1 : end - start);
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    for (const QString &line : section.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("casewright-cli ")))
            continue;
        const QString command = line.section(QLatin1Char(' '), 1, 1);
        QStringList &options = result.commandOptions[command];
        for (const auto &m : option.globalMatch(line))
            if (!options.contains(m.captured()))
                options.append(m.captured());
    }
    for (const auto &m : option.globalMatch(section))
        if (!result.allOptions.contains(m.captured()))
            result.allOptions.append(m.captured());
    return result;
}
