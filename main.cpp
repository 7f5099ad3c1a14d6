#include "glukara.h"
#include "platform_choice.h"

#include <QApplication>

int main(int argc, char** argv)
{
    choose_platform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glukara"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.glukara.Glukara"));
    glukara window;
    window.show();
    return QApplication::exec();
}
