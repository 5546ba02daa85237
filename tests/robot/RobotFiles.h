#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The folder the robot's file dialogs choose from, built at run time: good
// pictures in each format the program reads, truncated and hostile pictures,
// documents good and hostile, list templates, text imports, audio files and
// cue sheets. Saves go into `out()`.
class RobotFiles
{
public:
    RobotFiles();
    QString path() const { return m_dir.path(); }
    QString out() const { return m_dir.filePath(QStringLiteral("out")); }
    // The prepared files (not what was saved).
    QStringList files() const { return m_files; }
    bool isValid() const { return m_dir.isValid() && !m_files.isEmpty(); }
    // Puts the folder back as it was prepared: what a run saved (into `out()`
    // or over a prepared file, beside it) is gone. Each run starts from this,
    // so that a list of actions chooses the same files when it is replayed.
    bool restore();

private:
    void add(const QString &name, const QByteArray &data);
    QTemporaryDir m_dir;
    QStringList m_files;
    QList<QByteArray> m_contents; // of m_files, in the same order
};
