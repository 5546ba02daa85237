#include <QApplication>

#include "app/TMainWindow.h"
#include "fonts/FontSpec.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QApplication::setApplicationName(QStringLiteral("Casewright"));
    installFontSubstitutions();
    TMainWindow window;
    window.show();
    return app.exec();
}
