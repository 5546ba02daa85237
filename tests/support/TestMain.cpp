// Shared main() of the test programs: a QApplication on the offscreen
// platform, so fonts, images and widgets work without a display.
#include <QApplication>
#include <gtest/gtest.h>

#include "fonts/Font.h"

using namespace cw;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QApplication::setApplicationName(QStringLiteral("Casewright"));
    installFontSubstitutions();
    return RUN_ALL_TESTS();
}
