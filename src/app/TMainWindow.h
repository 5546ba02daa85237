#pragma once

#include <QMainWindow>

#include "document/LabelDocument.h"

// The main window: owns the one document of the run.
class TMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainWindow(QWidget *parent = nullptr);
    LabelDocument &document() { return m_document; }

private:
    LabelDocument m_document;
};
