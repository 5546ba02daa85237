#include "app/TMainWindow.h"

TMainWindow::TMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Casewright"));
    setFixedSize(560, 420);
}
