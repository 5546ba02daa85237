// robot_user: runs the robot user for one seed and any number of actions.
//
//   robot_user --seed N --actions M [--hang-ms MS]   exit 0 clean, 1 with the
//                                                    seed and the shortened list
//   robot_user --replay FILE                         the same for a saved list
//
// Each run happens in a child process, so that a crash, a sanitizer report,
// a leak or a hang is caught like a broken invariant; the failing list is then
// shortened by replaying parts of it, each from a fresh start in a new child.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "../RobotFiles.h"
#include "../RobotUser.h"
#include "fonts/Font.h"

namespace {

struct Options
{
    quint32 seed = 1;
    int actions = 1000;
    int hangMs = 2000;
    int shrinkSeconds = 900; // shortening stops trying after this
    QString replay, files, log, result;
    bool child = false;
};

RobotActions readActions(const QString &path)
{
    RobotActions out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray &line : f.readAll().split('\n')) {
        RobotAction a;
        if (RobotAction::parse(QString::fromUtf8(line), a))
            out.push_back(a);
    }
    return out;
}

bool writeActions(const QString &path, const RobotActions &actions)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const RobotAction &a : actions)
        f.write(a.serialize().toUtf8() + '\n');
    return true;
}

void writeResult(const QString &path, const QString &text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}

// ---- The child: one run, logged action by action ----------------------------------

int runChild(const Options &o)
{
    int logFd = -1;
    {
        QFile log(o.log);
        log.open(QIODevice::WriteOnly | QIODevice::Truncate);
        logFd = ::dup(log.handle());
    }
    const QString result = o.result;
    startHangWatchdog(o.hangMs, [result, hangMs = o.hangMs](int action) {
        writeResult(result,
            QStringLiteral("hang|an action took over %1 ms (action %2)").arg(hangMs).arg(action + 1));
        std::fprintf(stderr, "robot user: hang in action %d\n", action + 1);
        std::_Exit(3);
    });
    // Each action is on disk before it runs, so a crash leaves the list.
    auto logged = [logFd](const RobotAction &a) {
        const QByteArray line = a.serialize().toUtf8() + '\n';
        if (::write(logFd, line.constData(), size_t(line.size())) != line.size())
            std::perror("robot user log");
    };
    RobotUser robot(o.files);
    std::optional<RobotFailure> failure;
    if (!o.replay.isEmpty()) {
        failure = robot.replay(readActions(o.replay), logged);
    } else {
        RobotActions done;
        failure = robot.run(o.seed, o.actions, done, logged);
    }
    ::close(logFd);
    if (failure) {
        writeResult(result, failure->kind + QLatin1Char('|') + failure->message);
        return 1;
    }
    return 0;
}

// ---- The parent: runs children, classifies, shortens ------------------------------

struct ChildRun
{
    bool failed = false;
    QString kind, message;
    RobotActions done;
};

QString sanitizerKind(const QString &err)
{
    static const QRegularExpression asan(QStringLiteral("ERROR: (AddressSanitizer|LeakSanitizer): ([\\w-]+)"));
    const QRegularExpressionMatch m = asan.match(err);
    if (m.hasMatch())
        return m.captured(1) + QLatin1Char(' ') + m.captured(2);
    static const QRegularExpression ubsan(QStringLiteral("runtime error: ([^\\n]{0,60})"));
    const QRegularExpressionMatch u = ubsan.match(err);
    if (u.hasMatch())
        return QStringLiteral("undefined behaviour: ") + u.captured(1);
    return QString();
}

// `files`, when the run prepared the folder itself, is put back as prepared
// first: a child's saves must not change what the next child's dialogs offer.
ChildRun runOnce(const Options &o, RobotFiles *files, const QString &work, const RobotActions *replay)
{
    if (files && !files->restore())
        std::fprintf(stderr, "robot user: cannot put the files folder back as prepared\n");
    const QString log = work + QStringLiteral("/actions.log");
    const QString result = work + QStringLiteral("/result.txt");
    const QString list = work + QStringLiteral("/replay.txt");
    QFile::remove(result);
    QStringList args { QStringLiteral("--child"), QStringLiteral("--files"), o.files,
        QStringLiteral("--log"), log, QStringLiteral("--result"), result,
        QStringLiteral("--hang-ms"), QString::number(o.hangMs) };
    if (replay) {
        writeActions(list, *replay);
        args << QStringLiteral("--replay") << list;
    } else {
        args << QStringLiteral("--seed") << QString::number(o.seed) << QStringLiteral("--actions")
             << QString::number(o.actions);
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(-1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    ChildRun r;
    r.done = readActions(log);
    const bool normal = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    const QString sanitizer = sanitizerKind(err);
    if (normal && sanitizer.isEmpty())
        return r;
    r.failed = true;
    const QString written = QString::fromUtf8([&] {
        QFile f(result);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }());
    if (!sanitizer.isEmpty()) {
        r.kind = sanitizer;
        const int at = err.indexOf(QStringLiteral("ERROR:"));
        r.message = err.mid(at >= 0 ? at : 0, 3000);
    } else if (!written.isEmpty()) {
        r.kind = written.section(QLatin1Char('|'), 0, 0);
        r.message = written.section(QLatin1Char('|'), 1);
    } else {
        r.kind = QStringLiteral("crash");
        r.message = QStringLiteral("the program ended (status %1, code %2): %3")
                        .arg(int(p.exitStatus()))
                        .arg(p.exitCode())
                        .arg(err.right(2000));
    }
    return r;
}

int runParent(const Options &given)
{
    Options o = given;
    QTemporaryDir work;
    std::unique_ptr<RobotFiles> files;
    if (o.files.isEmpty()) {
        files = std::make_unique<RobotFiles>();
        if (!files->isValid()) {
            std::fprintf(stderr, "robot user: cannot prepare the files folder\n");
            return 2;
        }
        o.files = files->path();
    }
    RobotActions given_list;
    if (!o.replay.isEmpty())
        given_list = readActions(o.replay);
    const ChildRun first = runOnce(o, files.get(), work.path(), o.replay.isEmpty() ? nullptr : &given_list);
    if (!first.failed) {
        std::printf("robot user: seed %u: %zu actions, clean\n", o.seed, first.done.size());
        return 0;
    }
    std::fprintf(stderr, "robot user: seed %u: %s after %zu actions; shortening the list\n", o.seed,
        qPrintable(first.kind), first.done.size());
    int replays = 0;
    QElapsedTimer shrinking;
    shrinking.start();
    const RobotActions shortest = shrinkActions(first.done, [&](const RobotActions &candidate) {
        if (shrinking.elapsed() > qint64(o.shrinkSeconds) * 1000)
            return false; // out of time: the list found so far stands
        ++replays;
        const ChildRun r = runOnce(o, files.get(), work.path(), &candidate);
        return r.failed && r.kind == first.kind;
    });
    const ChildRun last = runOnce(o, files.get(), work.path(), &shortest);
    RobotFailure failure { first.kind, last.failed ? last.message : first.message, -1 };
    const QString saved = QDir::current().absoluteFilePath(
        QStringLiteral("robot-failure-seed%1.txt").arg(o.seed));
    writeActions(saved, shortest);
    std::fprintf(stderr, "%s(%d replays while shortening)\nreplay it: tools/robot-user --replay %s\n",
        qPrintable(describeFailure(o.seed, failure, shortest)), replays, qPrintable(saved));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Options o;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        auto next = [&]() -> QString { return i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString(); };
        if (a == "--seed")
            o.seed = next().toUInt();
        else if (a == "--actions")
            o.actions = next().toInt();
        else if (a == "--hang-ms")
            o.hangMs = next().toInt();
        else if (a == "--replay")
            o.replay = QFileInfo(next()).absoluteFilePath();
        else if (a == "--shrink-seconds")
            o.shrinkSeconds = next().toInt();
        else if (a == "--files")
            o.files = next();
        else if (a == "--log")
            o.log = next();
        else if (a == "--result")
            o.result = next();
        else if (a == "--child")
            o.child = true;
        else {
            std::fprintf(stderr,
                "usage: robot_user [--seed N] [--actions M] [--hang-ms MS] [--shrink-seconds S] [--replay FILE]\n");
            return 2;
        }
    }
    // The run's settings, templates and data stay in folders of its own.
    QTemporaryDir home;
    if (o.child) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QApplication::setApplicationName(QStringLiteral("Casewright"));
    if (!o.child)
        return runParent(o);
    cw::installFontSubstitutions();
    return runChild(o);
}
